#include "SettingsFileFormat.h"

#include <QDataStream>
#include <QFileDevice>
#include <QMap>
#include <QStringList>

namespace {

const char hexDigits[] = "0123456789ABCDEF";
// Top-level keys live in this section; a real group of that name is escaped.
const QString generalSection = QStringLiteral("General");

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

QByteArray escapedKey(const QString &key)
{
    QByteArray result;
    for (const QChar c : key) {
        const ushort ch = c.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')
                   || ch == '_' || ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += hexDigits[ch / 16];
            result += hexDigits[ch % 16];
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += hexDigits[(ch >> shift) & 0xF];
        }
    }
    return result;
}

QString unescapedKey(const QByteArray &key)
{
    QString result;
    for (int i = 0; i < key.size(); ++i) {
        const char c = key.at(i);
        if (c == '\\') {
            result += QLatin1Char('/');
        } else if (c == '%' && i + 5 < key.size() && key.at(i + 1) == 'U'
                   && isHexDigit(key.at(i + 2)) && isHexDigit(key.at(i + 3))
                   && isHexDigit(key.at(i + 4)) && isHexDigit(key.at(i + 5))) {
            ushort ch = 0;
            for (int j = 2; j <= 5; ++j)
                ch = ushort(ch * 16 + hexValue(key.at(i + j)));
            result += QChar(ch);
            i += 5;
        } else if (c == '%' && i + 2 < key.size() && isHexDigit(key.at(i + 1)) && isHexDigit(key.at(i + 2))) {
            result += QChar(ushort(hexValue(key.at(i + 1)) * 16 + hexValue(key.at(i + 2))));
            i += 2;
        } else {
            result += QLatin1Char(c);
        }
    }
    return result;
}

// Qt's text form of a value: most types as their text, byte arrays and other
// types tagged with '@'.
QString valueText(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double: {
        const QString text = value.toString();
        if (text.contains(QChar::Null))
            return QLatin1String("@String(") + text + QLatin1Char(')');
        return text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
    }
    default: {
        // Qt keeps times with their time zone, in a newer stream version.
        const bool isDateTime = value.userType() == QMetaType::QDateTime;
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(isDateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
        stream << value;
        return QLatin1String(isDateTime ? "@DateTime(" : "@Variant(")
               + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    }
}

QVariant streamedValue(QByteArray bytes, QDataStream::Version version)
{
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    stream.setVersion(version);
    QVariant value;
    stream >> value;
    return value;
}

QVariant valueFromText(const QString &text)
{
    const auto tagged = [&text](const char *tag) {
        return text.startsWith(QLatin1String(tag)) && text.endsWith(QLatin1Char(')'));
    };
    const auto inner = [&text](int tagLength) { return text.mid(tagLength, text.size() - tagLength - 1); };
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    if (tagged("@ByteArray("))
        return inner(11).toLatin1();
    if (tagged("@String("))
        return inner(8);
    if (text == QLatin1String("@Invalid()"))
        return QVariant();
    if (tagged("@Variant("))
        return streamedValue(inner(9).toLatin1(), QDataStream::Qt_4_0);
    if (tagged("@DateTime("))
        return streamedValue(inner(10).toLatin1(), QDataStream::Qt_5_6);
    return text;
}

void appendEscapedText(const QString &text, QByteArray &result)
{
    const int start = result.size();
    bool needsQuotes = false;
    // "\x41" followed by "B" would read as one escape.
    bool escapeNextIfHexDigit = false;
    for (const QChar c : text) {
        const ushort ch = c.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfHexDigit && ch < 0x80 && isHexDigit(char(ch))) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (ch) {
        case '\0': result += "\\0"; escapeNextIfHexDigit = true; break;
        case '\a': result += "\\a"; break;
        case '\b': result += "\\b"; break;
        case '\f': result += "\\f"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        case '\v': result += "\\v"; break;
        case '"': result += "\\\""; break;
        case '\\': result += "\\\\"; break;
        default:
            if (ch <= 0x1F || ch >= 0x7F) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfHexDigit = true;
            } else {
                result += char(ch);
            }
        }
    }
    if (needsQuotes || (result.size() > start && (result.at(start) == ' ' || result.endsWith(' ')))) {
        result.insert(start, '"');
        result += '"';
    }
}

QByteArray encodedValue(const QVariant &value)
{
    QByteArray result;
    const bool isList = value.userType() == QMetaType::QStringList
                        || (value.userType() == QMetaType::QVariantList && value.toList().size() != 1);
    if (!isList) {
        appendEscapedText(valueText(value), result);
        return result;
    }
    const QVariantList items = value.toList();
    if (items.isEmpty())
        return "@Invalid()";
    for (int i = 0; i < items.size(); ++i) {
        if (i > 0)
            result += ", ";
        appendEscapedText(valueText(items.at(i)), result);
    }
    return result;
}

// The text items of a value: several when it is a list (unquoted commas).
QStringList unescapedValue(const QByteArray &text, bool &isList)
{
    QStringList items{QString()};
    isList = false;
    bool quoted = false;
    int trailingSpaces = 0;   // unquoted blanks that end the item unless more follows
    int i = 0;
    const auto take = [&](const QString &s) {
        items.last() += s;
        trailingSpaces = 0;
    };
    while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t'))
        ++i;
    while (i < text.size()) {
        const char c = text.at(i++);
        if (c == '"') {
            quoted = !quoted;
            trailingSpaces = 0;
        } else if (!quoted && c == ',') {
            items.last().chop(trailingSpaces);
            items.append(QString());
            isList = true;
            trailingSpaces = 0;
            while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t'))
                ++i;
        } else if (!quoted && c == ';') {
            break;
        } else if (c == '\\' && i < text.size()) {
            const char e = text.at(i++);
            switch (e) {
            case 'a': take(QStringLiteral("\a")); break;
            case 'b': take(QStringLiteral("\b")); break;
            case 'f': take(QStringLiteral("\f")); break;
            case 'n': take(QStringLiteral("\n")); break;
            case 'r': take(QStringLiteral("\r")); break;
            case 't': take(QStringLiteral("\t")); break;
            case 'v': take(QStringLiteral("\v")); break;
            case 'x': {
                uint value = 0;
                while (i < text.size() && isHexDigit(text.at(i)))
                    value = (value * 16 + uint(hexValue(text.at(i++)))) & 0xFFFF;
                take(QString(QChar(ushort(value))));
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    uint value = uint(e - '0');
                    while (i < text.size() && text.at(i) >= '0' && text.at(i) <= '7')
                        value = (value * 8 + uint(text.at(i++) - '0')) & 0xFFFF;
                    take(QString(QChar(ushort(value))));
                } else {
                    take(QString(QLatin1Char(e)));
                }
            }
        } else {
            items.last() += QLatin1Char(c);
            trailingSpaces = (!quoted && (c == ' ' || c == '\t')) ? trailingSpaces + 1 : 0;
        }
    }
    items.last().chop(trailingSpaces);
    return items;
}

} // namespace

QSettings::Format SettingsFileFormat::format()
{
    static const QSettings::Format registered
        = QSettings::registerFormat(QStringLiteral("conf"), &SettingsFileFormat::read, &SettingsFileFormat::write);
    return registered;
}

QByteArray SettingsFileFormat::encode(const QSettings::SettingsMap &map)
{
    QMap<QString, QByteArray> sections;
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        const int slash = entry.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : entry.key().left(slash);
        const QString key = slash < 0 ? entry.key() : entry.key().mid(slash + 1);
        sections[section] += escapedKey(key) + '=' + encodedValue(entry.value()) + '\n';
    }
    QByteArray text;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        if (!text.isEmpty())
            text += '\n';
        if (section.key().isEmpty())
            text += "[General]\n";
        else if (section.key().compare(generalSection, Qt::CaseInsensitive) == 0)
            text += "[%General]\n";
        else
            text += '[' + escapedKey(section.key()) + "]\n";
        text += section.value();
    }
    return text;
}

bool SettingsFileFormat::decode(const QByteArray &text, QSettings::SettingsMap &map)
{
    bool wellFormed = true;
    QString section;
    const QList<QByteArray> lines = text.split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            const int end = line.indexOf(']');
            if (end < 0) {
                wellFormed = false;
                continue;
            }
            const QByteArray name = line.mid(1, end - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = generalSection;
            else
                section = unescapedKey(name);
            continue;
        }
        const int equals = line.indexOf('=');
        if (equals <= 0) {
            wellFormed = false;
            continue;
        }
        const QString key = unescapedKey(line.left(equals).trimmed());
        bool isList = false;
        const QStringList items = unescapedValue(line.mid(equals + 1), isList);
        QVariant value;
        if (isList) {
            QStringList list;
            for (const QString &item : items)
                list.append(valueFromText(item).toString());
            value = list;
        } else {
            value = valueFromText(items.first());
        }
        map.insert(section.isEmpty() ? key : section + QLatin1Char('/') + key, value);
    }
    return wellFormed;
}

bool SettingsFileFormat::read(QIODevice &device, QSettings::SettingsMap &map)
{
    return decode(device.readAll(), map);
}

bool SettingsFileFormat::write(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray text = encode(map);
    if (device.write(text) != text.size())
        return false;
    // Qt's save file would otherwise flush only while committing, unchecked.
    auto *file = qobject_cast<QFileDevice *>(&device);
    return !file || file->flush();
}
