// Feeds arbitrary text to JsonCodec::decode and checks what must hold for any
// input: no crash, no leak, no undefined behaviour (the sanitizers watch
// those), a failure shaped as documented, and writing then reading a decoded
// value settles on one text.
#include "JsonCodec.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The first byte chooses how the rest becomes text: as the manifest is read
// (Latin-1), as UTF-8, or as raw UTF-16 code units, which reach characters
// above U+00FF and lone surrogates.
QString textOf(const uint8_t *data, size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const int length = int(size - 1);
    switch (data[0] & 3) {
    case 1:
        return QString::fromUtf8(bytes, length);
    case 2: {
        QString text(length / 2, Qt::Uninitialized);
        std::memcpy(text.data(), bytes, size_t(text.size()) * sizeof(QChar));
        return text;
    }
    default:
        return QString::fromLatin1(bytes, length);
    }
}

bool isEmptyContainer(const QVariant &value)
{
    return (value.type() == QVariant::Map && value.toMap().isEmpty())
           || (value.type() == QVariant::List && value.toList().isEmpty());
}

QVariant reread(const QByteArray &json)
{
    bool ok = false;
    const QVariant value = JsonCodec::decode(QString::fromUtf8(json.constData(), json.size()), ok);
    if (!ok)
        std::abort();
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 1024 * 1024 + 1)
        return 0;

    bool ok = false;
    const QVariant value = JsonCodec::decode(textOf(data, size), ok);
    if (!ok) {
        // A failure gives nothing but an invalid value or an empty container.
        if (value.isValid() && !isEmptyContainer(value))
            std::abort();
        return 0;
    }

    // Every value the reader gives can be written. The first writing may
    // still change it (lone surrogates become "?", then equal member names
    // merge); from then on writing and reading must agree.
    bool written = false;
    const QByteArray first = JsonCodec::encode(value, written);
    if (!written || first.isNull())
        std::abort();
    const QByteArray second = JsonCodec::encode(reread(first));
    const QByteArray third = JsonCodec::encode(reread(second));
    if (second.isNull() || second != third)
        std::abort();
    return 0;
}
