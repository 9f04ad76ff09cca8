#include "JsonCodec.h"

#include <QVariantList>
#include <QVariantMap>

#include <cmath>

namespace {

bool isWhitespace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
           || c == QLatin1Char('\r');
}

bool isNumberCharacter(QChar c)
{
    return QStringLiteral("0123456789+-.eE").contains(c);
}

} // namespace

QVariant JsonCodec::decode(const QString &json, bool &success)
{
    success = true;
    if (json.isNull())
        return QVariant();
    int index = 0;
    return readValue(json, index, success, 0);
}

QVariant JsonCodec::decode(const QString &json)
{
    bool success;
    return decode(json, success);
}

QByteArray JsonCodec::encode(const QVariant &data, bool &success)
{
    const QByteArray text = writeValue(data);
    success = !text.isNull();
    return text;
}

QByteArray JsonCodec::encode(const QVariant &data)
{
    bool success;
    return encode(data, success);
}

void JsonCodec::skipWhitespace(const QString &json, int &index)
{
    while (index < json.size() && isWhitespace(json.at(index)))
        ++index;
}

JsonCodec::JsonToken JsonCodec::takeToken(const QString &json, int &index)
{
    skipWhitespace(json, index);
    if (index == json.size())
        return TokenNone;

    // toLatin1() gives 0 for characters above U+00FF, so they start no token.
    switch (json.at(index++).toLatin1()) {
    case '{':
        return TokenObjectOpen;
    case '}':
        return TokenObjectClose;
    case '[':
        return TokenArrayOpen;
    case ']':
        return TokenArrayClose;
    case ':':
        return TokenColon;
    case ',':
        return TokenComma;
    case '"':
        return TokenString;
    case '-':
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
        return TokenNumber;
    default:
        break;
    }

    --index;
    const QStringRef rest = json.midRef(index);
    if (rest.size() < 4)
        return TokenNone;
    if (rest.startsWith(QLatin1String("true"))) {
        index += 4;
        return TokenTrue;
    }
    if (rest.size() >= 5 && rest.startsWith(QLatin1String("false"))) {
        index += 5;
        return TokenFalse;
    }
    if (rest.startsWith(QLatin1String("null"))) {
        index += 4;
        return TokenNull;
    }
    return TokenNone;
}

JsonCodec::JsonToken JsonCodec::peekToken(const QString &json, int index)
{
    return takeToken(json, index);
}

QVariant JsonCodec::readValue(const QString &json, int &index, bool &success, int depth)
{
    switch (peekToken(json, index)) {
    // Each level of nesting costs stack; deeper text fails before it can
    // overflow it.
    case TokenObjectOpen:
        if (depth < maxNestingDepth)
            return readObject(json, index, success, depth + 1);
        break;
    case TokenArrayOpen:
        if (depth < maxNestingDepth)
            return readArray(json, index, success, depth + 1);
        break;
    case TokenString:
        return readString(json, index, success);
    case TokenNumber:
        return readNumber(json, index);
    case TokenTrue:
        takeToken(json, index);
        return true;
    case TokenFalse:
        takeToken(json, index);
        return false;
    case TokenNull:
        takeToken(json, index);
        return QVariant();
    case TokenNone:
    case TokenObjectClose:
    case TokenArrayClose:
    case TokenColon:
    case TokenComma:
        break;
    }
    success = false;
    return QVariant();
}

QVariant JsonCodec::readObject(const QString &json, int &index, bool &success, int depth)
{
    takeToken(json, index);
    QVariantMap map;
    forever {
        switch (peekToken(json, index)) {
        case TokenNone:
            success = false;
            return QVariantMap();
        case TokenComma:
            takeToken(json, index);
            continue;
        case TokenObjectClose:
            takeToken(json, index);
            return map;
        case TokenString:
            break;
        default:
            // A member name must be a string; reading some other token as
            // one would turn broken text into made-up names.
            success = false;
            return QVariantMap();
        }

        const QString name = readString(json, index, success).toString();
        if (!success)
            return QVariantMap();
        if (takeToken(json, index) != TokenColon) {
            success = false;
            return QVariantMap();
        }
        const QVariant value = readValue(json, index, success, depth);
        if (!success)
            return QVariantMap();
        map.insert(name, value);
    }
}

QVariant JsonCodec::readArray(const QString &json, int &index, bool &success, int depth)
{
    takeToken(json, index);
    QVariantList list;
    forever {
        switch (peekToken(json, index)) {
        case TokenNone:
            success = false;
            return QVariantList();
        case TokenComma:
            takeToken(json, index);
            continue;
        case TokenArrayClose:
            takeToken(json, index);
            return list;
        default:
            break;
        }

        const QVariant value = readValue(json, index, success, depth);
        if (!success)
            return QVariantList();
        list.append(value);
    }
}

QVariant JsonCodec::readString(const QString &json, int &index, bool &success)
{
    skipWhitespace(json, index);
    ++index; // the opening quote

    QString text;
    while (index < json.size()) {
        const QChar c = json.at(index++);
        if (c == QLatin1Char('"'))
            return text;
        if (c != QLatin1Char('\\')) {
            text.append(c);
            continue;
        }

        if (index == json.size())
            break;
        const QChar escaped = json.at(index++);
        switch (escaped.toLatin1()) {
        case '"':
        case '\\':
        case '/':
            text.append(escaped);
            break;
        case 'b':
            text.append(QChar(0x08));
            break;
        case 'f':
            text.append(QChar(0x0c));
            break;
        case 'n':
            text.append(QChar(0x0a));
            break;
        case 'r':
            text.append(QChar(0x0d));
            break;
        case 't':
            text.append(QChar(0x09));
            break;
        case 'u': {
            if (json.size() - index < 4) {
                success = false;
                return QVariant();
            }
            // Each escape is one UTF-16 code unit, so two escapes make a
            // surrogate pair; text that is not hexadecimal gives U+0000.
            const int unit = json.mid(index, 4).toInt(nullptr, 16);
            text.append(QChar(ushort(unit & 0xffff)));
            index += 4;
            break;
        }
        default:
            // Unknown escapes are dropped together with their backslash.
            break;
        }
    }
    success = false;
    return QVariant();
}

QVariant JsonCodec::readNumber(const QString &json, int &index)
{
    skipWhitespace(json, index);
    const int start = index;
    while (index < json.size() && isNumberCharacter(json.at(index)))
        ++index;
    const QString number = json.mid(start, index - start);

    // Text that does not convert, an integer outside 64 bits or a double
    // outside its range included, reads as 0 of its type.
    bool ok;
    if (number.contains(QLatin1Char('.')) || number.contains(QLatin1Char('e'))
        || number.contains(QLatin1Char('E'))) {
        const double value = number.toDouble(&ok);
        return ok ? value : 0.0;
    }
    if (number.startsWith(QLatin1Char('-'))) {
        const qlonglong value = number.toLongLong(&ok, 10);
        return ok ? value : Q_INT64_C(0);
    }
    const qulonglong value = number.toULongLong(&ok, 10);
    return ok ? value : Q_UINT64_C(0);
}

QByteArray JsonCodec::writeValue(const QVariant &data)
{
    if (!data.isValid())
        return QByteArrayLiteral("null");

    const int type = data.type();
    if (type == QVariant::List || type == QVariant::StringList) {
        QByteArrayList elements;
        for (const QVariant &element : data.toList()) {
            const QByteArray text = writeValue(element);
            if (text.isNull())
                return QByteArray();
            elements.append(text);
        }
        return "[ " + elements.join(", ") + " ]";
    }
    if (type == QVariant::Map) {
        const QVariantMap map = data.toMap();
        QByteArrayList members;
        for (auto member = map.cbegin(); member != map.cend(); ++member) {
            const QByteArray value = writeValue(member.value());
            if (value.isNull())
                return QByteArray();
            members.append(quoteString(member.key()) + " : " + value);
        }
        return "{ " + members.join(", ") + " }";
    }
    if (type == QVariant::String || type == QVariant::ByteArray)
        return quoteString(data.toString());
    if (type == QVariant::Double) {
        // JSON has no text for infinities and NaN; writing "inf.0" would
        // give text that no reader accepts.
        const double value = data.toDouble();
        if (!std::isfinite(value))
            return QByteArray();
        QByteArray text = QByteArray::number(value, 'g', 20);
        if (!text.contains('.') && !text.contains('e'))
            text.append(".0");
        return text;
    }
    // A float has no text in JSON for its infinities and NaN either; its finite
    // values keep the conversions below.
    if (data.userType() == QMetaType::Float && !std::isfinite(data.toFloat()))
        return QByteArray();
    if (type == QVariant::Bool)
        return data.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    if (type == QVariant::ULongLong)
        return QByteArray::number(data.toULongLong());
    if (data.canConvert(QVariant::LongLong))
        return QByteArray::number(data.toLongLong());
    if (data.canConvert(QMetaType::Long))
        return QByteArray::number(qlonglong(data.value<long>()));
    if (data.canConvert(QVariant::String))
        return quoteString(data.toString());
    return QByteArray();
}

QByteArray JsonCodec::quoteString(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"))
        .replace(QLatin1String("\""), QLatin1String("\\\""))
        .replace(QChar(0x08), QLatin1String("\\b"))
        .replace(QChar(0x0c), QLatin1String("\\f"))
        .replace(QChar(0x0a), QLatin1String("\\n"))
        .replace(QChar(0x0d), QLatin1String("\\r"))
        .replace(QChar(0x09), QLatin1String("\\t"));
    return QStringLiteral("\"%1\"").arg(escaped).toUtf8();
}
