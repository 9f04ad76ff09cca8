#ifndef JSONCODEC_H
#define JSONCODEC_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

// Converts between JSON text and trees of QVariant values: objects become
// QVariantMap, arrays QVariantList, strings QString, numbers double, qlonglong
// (negative integers) or qulonglong (other integers), true/false bool and null
// an invalid QVariant.
//
// The reader is lenient where the update manifest has always been lenient:
// commas between members and elements are optional, unknown escapes are
// dropped, malformed numbers read as 0 and text after the value is not looked
// at. A fault makes the innermost container and all containers around it
// empty and clears the flag. Containers nested deeper than maxNestingDepth are
// a fault too, so that text from the network cannot exhaust the stack.
//
// The writer produces one fixed, spaced layout ("[ 1, 2.0 ]", "{ "a" : 1 }")
// in UTF-8 and returns a null QByteArray for a value it cannot write.
class JsonCodec : public QObject
{
    Q_OBJECT

public:
    enum JsonToken {
        TokenNone,
        TokenObjectOpen,
        TokenObjectClose,
        TokenArrayOpen,
        TokenArrayClose,
        TokenColon,
        TokenComma,
        TokenString,
        TokenNumber,
        TokenTrue,
        TokenFalse,
        TokenNull
    };
    Q_ENUM(JsonToken)

    // Objects and arrays may be nested this deep; one level more is a fault.
    static const int maxNestingDepth = 256;

    static QVariant decode(const QString &json, bool &success);
    static QVariant decode(const QString &json);

    static QByteArray encode(const QVariant &data, bool &success);
    static QByteArray encode(const QVariant &data);

private:
    static void skipWhitespace(const QString &json, int &index);
    static JsonToken takeToken(const QString &json, int &index);
    static JsonToken peekToken(const QString &json, int index);

    static QVariant readValue(const QString &json, int &index, bool &success, int depth);
    static QVariant readObject(const QString &json, int &index, bool &success, int depth);
    static QVariant readArray(const QString &json, int &index, bool &success, int depth);
    static QVariant readString(const QString &json, int &index, bool &success);
    static QVariant readNumber(const QString &json, int &index);

    static QByteArray writeValue(const QVariant &data);
    static QByteArray quoteString(const QString &text);
};

#endif
