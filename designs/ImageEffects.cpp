#include "ImageEffects.h"

#include "Random.h"

#include <QImage>

#include <algorithm>
#include <vector>

namespace {

// One box blur pass along a line of `count` pixels spaced `step` apart.
void blurLine(uchar *first, int count, int step, int radius, std::vector<uchar> &line)
{
    line.resize(size_t(count) * 4);
    for (int i = 0; i < count; ++i)
        std::copy_n(first + ptrdiff_t(i) * step, 4, &line[size_t(i) * 4]);
    const int window = 2 * radius + 1;
    for (int channel = 0; channel < 4; ++channel) {
        auto at = [&](int i) { return int(line[size_t(std::clamp(i, 0, count - 1)) * 4 + channel]); };
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        for (int i = 0; i < count; ++i) {
            first[ptrdiff_t(i) * step + channel] = uchar((sum + window / 2) / window);
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
}

}

void ImageEffects::blur(QImage &image, int radius)
{
    if (radius < 1)
        return;
    Q_ASSERT(image.format() == QImage::Format_ARGB32_Premultiplied);
    const int width = image.width();
    const int height = image.height();
    const int stride = image.bytesPerLine();
    uchar *bits = image.bits();
    std::vector<uchar> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y)
            blurLine(bits + ptrdiff_t(y) * stride, width, 4, radius, line);
        for (int x = 0; x < width; ++x)
            blurLine(bits + ptrdiff_t(x) * 4, height, stride, radius, line);
    }
}

void ImageEffects::addGrain(QImage &image, int strength, unsigned seed)
{
    Q_ASSERT(image.depth() == 32);
    Random random(seed);
    const int span = 2 * strength + 1;
    for (int y = 0; y < image.height(); ++y) {
        QRgb *pixel = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Triangular noise: the sum of two uniform values looks smoother.
            const uint32_t bits = random.next();
            const int noise = int((bits & 0xffff) % span) + int((bits >> 16) % span) - 2 * strength;
            const QRgb value = pixel[x];
            const int alpha = qAlpha(value);
            const int delta = noise * alpha / 510;
            pixel[x] = qRgba(std::clamp(qRed(value) + delta, 0, alpha),
                             std::clamp(qGreen(value) + delta, 0, alpha),
                             std::clamp(qBlue(value) + delta, 0, alpha), alpha);
        }
    }
}
