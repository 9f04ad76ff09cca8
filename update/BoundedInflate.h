#ifndef BOUNDEDINFLATE_H
#define BOUNDEDINFLATE_H

#include <QByteArray>

// Inflates a gzip or zlib body, but never beyond a limit: a small compressed
// body can stand for gigabytes.
class BoundedInflate
{
public:
    // false when the data is not gzip or zlib data, is cut short, or inflates to
    // more than limit bytes; inflated then holds at most limit + 1 bytes.
    static bool inflate(const QByteArray &compressed, int limit, QByteArray &inflated);

private:
    BoundedInflate() = delete;
};

#endif
