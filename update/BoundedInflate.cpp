#include "BoundedInflate.h"

#include <zlib.h>

bool BoundedInflate::inflate(const QByteArray &compressed, int limit, QByteArray &inflated)
{
    inflated.clear();
    z_stream stream = {};
    // 32 added to the window bits: gzip and zlib headers both, recognised by their header.
    if (inflateInit2(&stream, MAX_WBITS + 32) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    char block[16384];
    int result = Z_OK;
    while (result == Z_OK && inflated.size() <= limit) {
        stream.next_out = reinterpret_cast<Bytef *>(block);
        stream.avail_out = sizeof block;
        result = ::inflate(&stream, Z_NO_FLUSH);
        const int produced = int(sizeof block - stream.avail_out);
        inflated.append(block, qMin(produced, limit + 1 - inflated.size()));
        if (result == Z_OK && produced == 0 && stream.avail_in == 0)
            break;
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END && inflated.size() <= limit;
}
