#include "JsonCodec.h"

#include <QDate>
#include <QPoint>
#include <QRandomGenerator>
#include <QUrl>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// A typed text of a value, so that 12 as qulonglong and 12 as qlonglong or
// double differ in a comparison and show in a failure message.
QString describe(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("null");
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::ULongLong:
        return QStringLiteral("u:") + QString::number(value.toULongLong());
    case QMetaType::LongLong:
        return QStringLiteral("i:") + QString::number(value.toLongLong());
    case QMetaType::Double:
        return QStringLiteral("d:") + QString::number(value.toDouble(), 'g', 17);
    case QMetaType::QString: {
        QString text = QStringLiteral("s:\"");
        for (const QChar c : value.toString()) {
            if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('"') && c != QLatin1Char('\\'))
                text += c;
            else
                text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
        return text + QLatin1Char('"');
    }
    case QMetaType::QVariantList: {
        QStringList elements;
        for (const QVariant &element : value.toList())
            elements += describe(element);
        return QLatin1Char('[') + elements.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    case QMetaType::QVariantMap: {
        QStringList members;
        const QVariantMap map = value.toMap();
        for (auto member = map.cbegin(); member != map.cend(); ++member)
            members += describe(member.key()) + QStringLiteral(": ") + describe(member.value());
        return QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}');
    }
    default:
        return QStringLiteral("<%1>").arg(QLatin1String(value.typeName()));
    }
}

QVariant u(qulonglong value) { return value; }
QVariant i(qlonglong value) { return value; }
QVariant d(double value) { return value; }
QVariant s(const QString &value) { return value; }
QVariant list(const QVariantList &elements) { return elements; }
QVariant map(const QVariantMap &members) { return members; }

QString nested(const QString &open, const QString &close, int depth)
{
    return open.repeated(depth) + close.repeated(depth);
}

QVariant nestedLists(int depth)
{
    QVariant value = QVariantList();
    for (int level = 1; level < depth; ++level)
        value = QVariantList{value};
    return value;
}

QVariant nestedMaps(int depth)
{
    QVariant value = QVariantMap();
    for (int level = 1; level < depth; ++level)
        value = QVariantMap{{QStringLiteral("a"), value}};
    return value;
}

// Random values of every kind the writer takes, and what the reader must
// give back for each: the reader's own types, with string lists as lists of
// strings, byte arrays as strings and integers by their sign.
class ValueGenerator
{
public:
    explicit ValueGenerator(quint32 seed) : random(seed) {}

    // Sets expected to what reading the written value gives.
    QVariant value(int depth, QVariant &expected)
    {
        const int kinds = depth < 4 ? 12 : 9;
        switch (random.bounded(kinds)) {
        case 0:
            expected = QVariant();
            return QVariant();
        case 1: {
            const bool flag = random.bounded(2);
            expected = flag;
            return flag;
        }
        case 2: {
            const qulonglong number = random.generate64() >> random.bounded(64);
            expected = number;
            return number;
        }
        case 3: {
            const qlonglong number = qlonglong(random.generate64()) >> random.bounded(64);
            expected = number < 0 ? QVariant(number) : QVariant(qulonglong(number));
            return number;
        }
        case 4: {
            const int number = int(random.generate());
            expected = number < 0 ? QVariant(qlonglong(number)) : QVariant(qulonglong(number));
            return number;
        }
        case 5: {
            const double number = finiteDouble();
            expected = number;
            return number;
        }
        case 6: {
            const QString text = string();
            expected = text;
            return text;
        }
        case 7: {
            // QVariant reads a byte array as UTF-8 text up to its first zero byte.
            const QString text = string().remove(QChar(0));
            expected = text;
            return text.toUtf8();
        }
        case 8: {
            QStringList texts;
            QVariantList back;
            for (int n = random.bounded(4); n > 0; --n) {
                texts += string();
                back += texts.last();
            }
            expected = back;
            return texts;
        }
        case 9:
        case 10: {
            QVariantList elements;
            QVariantList back;
            for (int n = random.bounded(5); n > 0; --n) {
                QVariant element;
                elements += value(depth + 1, element);
                back += element;
            }
            expected = back;
            return elements;
        }
        default: {
            QVariantMap members;
            QVariantMap back;
            for (int n = random.bounded(5); n > 0; --n) {
                const QString name = string();
                QVariant member;
                members.insert(name, value(depth + 1, member));
                back.insert(name, member);
            }
            expected = back;
            return members;
        }
        }
    }

private:
    double finiteDouble()
    {
        switch (random.bounded(3)) {
        case 0:
            return random.bounded(2000) / 8.0 - 125.0;
        case 1:
            return random.generateDouble() * std::pow(10.0, random.bounded(-30, 30));
        default: {
            double number;
            do {
                const quint64 bits = random.generate64();
                std::memcpy(&number, &bits, sizeof number);
            } while (!std::isfinite(number));
            return number;
        }
        }
    }

    // Text with what needs escaping, control characters, non-ASCII
    // characters and characters outside the BMP.
    QString string()
    {
        static const uint specials[] = {'"', '\\', '/', 0x08, 0x0c, 0x0a, 0x0d, 0x09, 0x00, 0x01,
                                            0x1f, 0x7f, 0xe9, 0xff, 0x100, 0x20ac, 0xfeff, 0x1f600};
        QString text;
        for (int n = random.bounded(8); n > 0; --n) {
            uint c;
            switch (random.bounded(3)) {
            case 0:
                c = specials[random.bounded(int(sizeof specials / sizeof *specials))];
                break;
            case 1:
                c = uint(random.bounded(0x20, 0x7f));
                break;
            default:
                do {
                    c = uint(random.bounded(0x110000));
                } while (c >= 0xd800 && c < 0xe000);
            }
            text += QString::fromUcs4(&c, 1);
        }
        return text;
    }

    QRandomGenerator random;
};

} // namespace

class tst_JsonCodec : public QObject
{
    Q_OBJECT

private slots:
    void tokensAndKeywords_data();
    void tokensAndKeywords() { checkDecode(); }
    void containersAndCommas_data();
    void containersAndCommas() { checkDecode(); }
    void failureShapes_data();
    void failureShapes() { checkDecode(); }
    void nestingDepth_data();
    void nestingDepth() { checkDecode(); }
    void numbersAndTheirTypes_data();
    void numbersAndTheirTypes() { checkDecode(); }
    void stringsAndEscapes_data();
    void stringsAndEscapes() { checkDecode(); }

    void writerLayout_data();
    void writerLayout();

    void readingWrittenValuesGivesThemBack();

private:
    static void decodeColumns();
    static void checkDecode();
};

void tst_JsonCodec::decodeColumns()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<bool>("success");
}

void tst_JsonCodec::checkDecode()
{
    QFETCH(QString, json);
    QFETCH(QVariant, expected);
    QFETCH(bool, success);

    bool ok = !success;
    const QVariant result = JsonCodec::decode(json, ok);
    QCOMPARE(describe(result), describe(expected));
    QCOMPARE(ok, success);
    QCOMPARE(describe(JsonCodec::decode(json)), describe(expected));
}

void tst_JsonCodec::tokensAndKeywords_data()
{
    decodeColumns();
    QTest::newRow("true") << "true" << QVariant(true) << true;
    QTest::newRow("false") << "false" << QVariant(false) << true;
    QTest::newRow("null") << "null" << QVariant() << true;
    QTest::newRow("the four whitespace characters") << " \t\r\n true \t" << QVariant(true) << true;
    QTest::newRow("the character after a keyword is not examined") << "truex" << QVariant(true) << true;
    QTest::newRow("keyword with trailing text in a list") << "[nullx]" << list({}) << false;
    QTest::newRow("upper-case TRUE") << "TRUE" << QVariant() << false;
    QTest::newRow("capitalised Null") << "Null" << QVariant() << false;
    QTest::newRow("keyword cut short at the end") << "fals" << QVariant() << false;
    QTest::newRow("fewer than four characters") << "nul" << QVariant() << false;
    QTest::newRow("keyword cut short inside a list") << "[tru]" << list({}) << false;
    QTest::newRow("false inside a list near the end") << "[false]" << list({false}) << true;
    QTest::newRow("empty text") << "" << QVariant() << false;
    QTest::newRow("whitespace only") << " \t\r\n" << QVariant() << false;
    QTest::newRow("null text is well-formed") << QString() << QVariant() << true;
    QTest::newRow("leading plus") << "+1" << QVariant() << false;
    QTest::newRow("leading point") << ".5" << QVariant() << false;
    QTest::newRow("byte-order mark") << QStringLiteral("\uFEFF{}") << QVariant() << false;
    QTest::newRow("form feed is not whitespace") << "\f1" << QVariant() << false;
    QTest::newRow("no-break space is not whitespace") << QStringLiteral("\u00A01") << QVariant() << false;
    // U+015B and U+0131 share their low byte with '[' and '1'.
    QTest::newRow("character above U+00FF whose low byte is a bracket")
        << QStringLiteral("\u015B1]") << QVariant() << false;
    QTest::newRow("character above U+00FF whose low byte is a digit")
        << QStringLiteral("\u0131") << QVariant() << false;
    QTest::newRow("closing brace first") << "}" << QVariant() << false;
    QTest::newRow("closing bracket first") << "]" << QVariant() << false;
    QTest::newRow("colon first") << ":1" << QVariant() << false;
    QTest::newRow("comma first") << ",1" << QVariant() << false;
}

void tst_JsonCodec::containersAndCommas_data()
{
    decodeColumns();
    QTest::newRow("empty list") << "[]" << list({}) << true;
    QTest::newRow("empty map") << "{}" << map({}) << true;
    QTest::newRow("spaced nesting")
        << " { \"a\" : [ 1 , { \"b\" : null } , [ ] ] , \"c\" : { } } "
        << map({{"a", list({u(1), map({{"b", QVariant()}}), list({})})}, {"c", map({})}}) << true;
    QTest::newRow("text after the value is not examined")
        << "{\"a\":1} trailing words" << map({{"a", u(1)}}) << true;
    QTest::newRow("brackets after the value are not examined") << "[1]]]" << list({u(1)}) << true;
    QTest::newRow("a later member replaces an earlier one")
        << "{\"a\":1,\"a\":2}" << map({{"a", u(2)}}) << true;
    QTest::newRow("commas left out in a list") << "[1 2 3]" << list({u(1), u(2), u(3)}) << true;
    QTest::newRow("commas doubled, first and last in a list")
        << "[,1,,2,3,]" << list({u(1), u(2), u(3)}) << true;
    QTest::newRow("commas left out, first and last in a map")
        << "{,\"a\":1 \"b\":2,}" << map({{"a", u(1)}, {"b", u(2)}}) << true;
    QTest::newRow("only commas") << "[,,,]" << list({}) << true;
    QTest::newRow("member names in any order")
        << "{\"b\":true,\"a\":false,\"B\":null}"
        << map({{"B", QVariant()}, {"a", false}, {"b", true}}) << true;
}

void tst_JsonCodec::failureShapes_data()
{
    decodeColumns();
    QTest::newRow("bad element") << "[1, x]" << list({}) << false;
    QTest::newRow("bad element of an inner list") << "{\"a\":[1,}" << map({}) << false;
    QTest::newRow("missing member value in a list") << "[{\"a\":}]" << list({}) << false;
    QTest::newRow("no colon") << "{\"a\" 1}" << map({}) << false;
    QTest::newRow("no value") << "{\"a\":}" << map({}) << false;
    QTest::newRow("fault deep inside") << "{\"a\":{\"b\":[1,2,{\"c\":x}]}}" << map({}) << false;
    QTest::newRow("fault in the innermost list") << "[[[1,x]]]" << list({}) << false;
    QTest::newRow("unclosed list") << "[1, 2" << list({}) << false;
    QTest::newRow("unclosed map") << "{\"a\":1" << map({}) << false;
    QTest::newRow("lone bracket") << "[" << list({}) << false;
    QTest::newRow("lone brace") << "{" << map({}) << false;
    QTest::newRow("unterminated string at the top") << "\"abc" << QVariant() << false;
    QTest::newRow("unterminated string in a list") << "[1,\"a" << list({}) << false;
    QTest::newRow("unterminated member name") << "{\"a" << map({}) << false;
    QTest::newRow("bare word as member name") << "{a:1}" << map({}) << false;
    QTest::newRow("number as member name") << "{1:2}" << map({}) << false;
    QTest::newRow("keyword as member name") << "{true:1}" << map({}) << false;
    QTest::newRow("colon as member name") << "{:1}" << map({}) << false;
    QTest::newRow("list as member name") << "{[]:1}" << map({}) << false;
    QTest::newRow("map as member name") << "{{}:1}" << map({}) << false;
    QTest::newRow("closing bracket in a map") << "{]}" << map({}) << false;
    QTest::newRow("second colon") << "{\"a\":1 :2}" << map({}) << false;
    QTest::newRow("closing brace in a list") << "[}" << list({}) << false;
    QTest::newRow("colon in a list") << "[1:2]" << list({}) << false;
}

void tst_JsonCodec::nestingDepth_data()
{
    decodeColumns();
    const int limit = JsonCodec::maxNestingDepth;
    QTest::newRow("lists up to the limit") << nested("[", "]", limit) << nestedLists(limit) << true;
    QTest::newRow("lists one level deeper") << nested("[", "]", limit + 1) << list({}) << false;
    QTest::newRow("maps up to the limit")
        << nested("{\"a\":", "}", limit - 1).replace(QStringLiteral(":}"), QStringLiteral(":{}}"))
        << nestedMaps(limit) << true;
    QTest::newRow("maps one level deeper")
        << nested("{\"a\":", "}", limit).replace(QStringLiteral(":}"), QStringLiteral(":{}}"))
        << map({}) << false;
    QTest::newRow("a million open brackets") << QString(1000000, QLatin1Char('[')) << list({}) << false;
    QTest::newRow("a million open brackets in a map")
        << QStringLiteral("{\"a\":") + QString(1000000, QLatin1Char('[')) << map({}) << false;
}

void tst_JsonCodec::numbersAndTheirTypes_data()
{
    decodeColumns();
    QTest::newRow("non-negative integer") << "12" << u(12) << true;
    QTest::newRow("zero") << "0" << u(0) << true;
    QTest::newRow("leading zeros") << "007" << u(7) << true;
    QTest::newRow("negative integer") << "-12" << i(-12) << true;
    QTest::newRow("minus zero") << "-0" << i(0) << true;
    QTest::newRow("point makes a double") << "12.0" << d(12.0) << true;
    QTest::newRow("exponent makes a double") << "1e3" << d(1000.0) << true;
    QTest::newRow("capital exponent") << "1E3" << d(1000.0) << true;
    QTest::newRow("negative double") << "-1.5e-3" << d(-0.0015) << true;
    QTest::newRow("lone minus") << "-" << i(0) << true;
    QTest::newRow("unsigned overflow") << "99999999999999999999" << u(0) << true;
    QTest::newRow("largest unsigned") << "18446744073709551615"
                                      << u(std::numeric_limits<qulonglong>::max()) << true;
    QTest::newRow("signed overflow") << "-99999999999999999999" << i(0) << true;
    QTest::newRow("smallest signed") << "-9223372036854775808"
                                     << i(std::numeric_limits<qlonglong>::min()) << true;
    QTest::newRow("minus inside") << "1-2" << u(0) << true;
    QTest::newRow("plus inside") << "1+2" << u(0) << true;
    QTest::newRow("two points") << "1.2.3" << d(0.0) << true;
    QTest::newRow("exponent without digits") << "1e" << d(0.0) << true;
    QTest::newRow("double out of range") << "1e999" << d(0.0) << true;
    QTest::newRow("malformed numbers inside a list")
        << "[1-2,3,-,4.5]" << list({u(0), u(3), i(0), d(4.5)}) << true;
    QTest::newRow("number ends at the first other character")
        << "[12abc]" << list({}) << false;
    QTest::newRow("whitespace around") << " \n42\t" << u(42) << true;
}

void tst_JsonCodec::stringsAndEscapes_data()
{
    decodeColumns();
    QTest::newRow("empty string") << "\"\"" << s("") << true;
    QTest::newRow("plain") << "\"abc\"" << s("abc") << true;
    QTest::newRow("unknown escape dropped") << "\"a\\qb\"" << s("ab") << true;
    QTest::newRow("escape of a character above U+00FF dropped")
        << QStringLiteral("\"a\\\u015Bb\"") << s("ab") << true;
    QTest::newRow("simple escapes")
        << "\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"" << s(QStringLiteral("\"\\/\b\f\n\r\t")) << true;
    QTest::newRow("unicode escape") << "\"\\u00e9\"" << s(QStringLiteral("\u00E9")) << true;
    QTest::newRow("unicode escape in capitals") << "\"\\u20AC\"" << s(QStringLiteral("\u20AC")) << true;
    QTest::newRow("surrogate pair of escapes")
        << "\"\\ud83d\\ude00\"" << s(QString::fromUtf8("\xF0\x9F\x98\x80")) << true;
    QTest::newRow("escape that is not hexadecimal") << "\"\\uZZZZ\"" << s(QString(QChar(0))) << true;
    QTest::newRow("escaped zero") << "\"a\\u0000b\"" << s(QString::fromLatin1("a\0b", 3)) << true;
    QTest::newRow("fewer than four characters after u") << "\"\\u12\"" << QVariant() << false;
    QTest::newRow("escape swallows the closing quote") << "\"\\u123\"" << QVariant() << false;
    QTest::newRow("backslash at the end") << "\"abc\\" << QVariant() << false;
    QTest::newRow("lone quote") << "\"" << QVariant() << false;
    QTest::newRow("control and non-Latin-1 characters unchanged")
        << QString::fromUtf8("\"a\x01\t\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"")
        << s(QString::fromUtf8("a\x01\t\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")) << true;
    QTest::newRow("member name with escapes")
        << "{\"a\\\"b\\u0041\":1}" << map({{"a\"bA", u(1)}}) << true;
}

void tst_JsonCodec::writerLayout_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("null") << QVariant() << QByteArray("null");
    QTest::newRow("empty list") << list({}) << QByteArray("[  ]");
    QTest::newRow("empty map") << map({}) << QByteArray("{  }");
    QTest::newRow("list") << list({u(1), d(2.0)}) << QByteArray("[ 1, 2.0 ]");
    QTest::newRow("map with nesting and null")
        << map({{"b", QVariant()}, {"a", list({u(1), d(2.0)})}})
        << QByteArray("{ \"a\" : [ 1, 2.0 ], \"b\" : null }");
    QTest::newRow("members in code-unit order")
        << map({{"b", u(1)}, {"a", u(2)}, {"B", u(3)}})
        << QByteArray("{ \"B\" : 3, \"a\" : 2, \"b\" : 1 }");
    QTest::newRow("string list") << QVariant(QStringList{"x", "y"}) << QByteArray("[ \"x\", \"y\" ]");
    QTest::newRow("double 1.0") << d(1.0) << QByteArray("1.0");
    QTest::newRow("double 0.5") << d(0.5) << QByteArray("0.5");
    QTest::newRow("double 0.1 with 20 digits") << d(0.1) << QByteArray("0.10000000000000000555");
    QTest::newRow("double with exponent") << d(1e21) << QByteArray("1e+21");
    QTest::newRow("negative double") << d(-250.0) << QByteArray("-250.0");
    QTest::newRow("true") << QVariant(true) << QByteArray("true");
    QTest::newRow("false") << QVariant(false) << QByteArray("false");
    QTest::newRow("largest unsigned") << u(std::numeric_limits<qulonglong>::max())
                                      << QByteArray("18446744073709551615");
    QTest::newRow("smallest signed") << i(std::numeric_limits<qlonglong>::min())
                                     << QByteArray("-9223372036854775808");
    QTest::newRow("int") << QVariant(-5) << QByteArray("-5");
    QTest::newRow("unsigned int") << QVariant(7u) << QByteArray("7");
    QTest::newRow("quote") << s("a\"b") << QByteArray("\"a\\\"b\"");
    QTest::newRow("backslash before quote, escaped in that order")
        << s("\\\"") << QByteArray("\"\\\\\\\"\"");
    QTest::newRow("control characters with short escapes")
        << s("\b\f\n\r\t") << QByteArray("\"\\b\\f\\n\\r\\t\"");
    QTest::newRow("slash and other characters written as they are")
        << s(QString::fromLatin1("/\x01\x7F")) << QByteArray("\"/\x01\x7F\"");
    QTest::newRow("non-ASCII in UTF-8")
        << s(QString::fromUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"))
        << QByteArray("\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"");
    QTest::newRow("member name quoted") << map({{"a\"\n", u(1)}}) << QByteArray("{ \"a\\\"\\n\" : 1 }");
    QTest::newRow("byte array as text") << QVariant(QByteArray("ab")) << QByteArray("\"ab\"");
    QTest::newRow("other value with a text") << QVariant(QDate(2020, 1, 2)) << QByteArray("\"2020-01-02\"");
    QTest::newRow("URL as text") << QVariant(QUrl("http://a/b")) << QByteArray("\"http://a/b\"");
    QTest::newRow("unwritable value") << QVariant(QPoint(1, 2)) << QByteArray();
    QTest::newRow("unwritable value in a list") << list({u(1), QPoint(1, 2)}) << QByteArray();
    QTest::newRow("unwritable value in a nested map")
        << map({{"a", u(1)}, {"b", list({map({{"c", QPoint()}})})}}) << QByteArray();
    QTest::newRow("not-a-number") << d(std::nan("")) << QByteArray();
    QTest::newRow("infinity in a list") << list({d(std::numeric_limits<double>::infinity())}) << QByteArray();
    QTest::newRow("float not-a-number") << QVariant(std::nanf("")) << QByteArray();
    QTest::newRow("float infinity in a map")
        << map({{"a", QVariant(-std::numeric_limits<float>::infinity())}}) << QByteArray();
}

void tst_JsonCodec::writerLayout()
{
    QFETCH(QVariant, value);
    QFETCH(QByteArray, expected);

    bool ok = expected.isNull();
    const QByteArray text = JsonCodec::encode(value, ok);
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
    QCOMPARE(ok, !expected.isNull());
    QCOMPARE(JsonCodec::encode(value), expected);
}

void tst_JsonCodec::readingWrittenValuesGivesThemBack()
{
    const quint32 seed = 20240501;
    ValueGenerator generator(seed);
    for (int n = 0; n < 2000; ++n) {
        QVariant expected;
        const QVariant value = generator.value(0, expected);

        bool written = false;
        const QByteArray text = JsonCodec::encode(value, written);
        QVERIFY2(written, qPrintable(describe(value)));

        bool read = false;
        const QVariant back = JsonCodec::decode(QString::fromUtf8(text.constData(), text.size()), read);
        QVERIFY2(read, text.constData());
        if (describe(back) != describe(expected))
            qWarning("value %d of seed %u:\n%s", n, seed, text.constData());
        QCOMPARE(describe(back), describe(expected));
    }
}

QTEST_GUILESS_MAIN(tst_JsonCodec)
#include "tst_jsoncodec.moc"
