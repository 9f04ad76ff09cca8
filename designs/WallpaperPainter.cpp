#include "WallpaperPainter.h"

#include "ImageEffects.h"
#include "Random.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr qreal pi = 3.14159265358979323846;

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(std::clamp(alpha, 0.0, 1.0));
    return colour;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t,
                            a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

// Below 1 towards black, above 1 towards white.
QColor shade(const QColor &colour, qreal factor)
{
    return factor < 1 ? mix(colour, Qt::black, 1 - factor) : mix(colour, Qt::white, factor - 1);
}

qreal smoothstep(qreal edge0, qreal edge1, qreal x)
{
    const qreal t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A colour ramp through evenly spaced stops.
QColor sampleRamp(const QVector<QColor> &colours, qreal t)
{
    t = std::clamp(t, 0.0, 1.0) * (colours.size() - 1);
    const int index = std::min(int(t), int(colours.size()) - 2);
    return mix(colours.at(index), colours.at(index + 1), t - index);
}

QLinearGradient verticalGradient(qreal top, qreal bottom, const QVector<QColor> &colours,
                                 QVector<qreal> positions = {})
{
    QLinearGradient gradient(0, top, 0, bottom);
    for (int i = 0; i < colours.size(); ++i) {
        const qreal position = i < positions.size() ? positions.at(i)
                                                    : (colours.size() > 1 ? qreal(i) / (colours.size() - 1) : 0);
        gradient.setColorAt(position, colours.at(i));
    }
    return gradient;
}

// Soft light and haze are painted small, blurred and laid over the picture
// enlarged: far cheaper than blurring a full-size bitmap, and just as soft.
QImage smallLayer(const QSize &size, int factor)
{
    QImage layer((size.width() + factor - 1) / factor, (size.height() + factor - 1) / factor,
                 QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

// A painter on a small layer that takes the coordinates of the full picture.
void beginSmall(QPainter &painter, QImage &layer, const QSize &fullSize)
{
    painter.begin(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(layer.width()) / fullSize.width(), qreal(layer.height()) / fullSize.height());
}

void layOver(QPainter &painter, QImage &layer, int blurRadius, const QRectF &target,
             QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver)
{
    ImageEffects::blur(layer, blurRadius);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(mode);
    painter.drawImage(target, layer);
    painter.restore();
}

// A rough line of 2^levels + 1 values, about in [-1, 1] (midpoint displacement).
QVector<qreal> roughLine(int levels, qreal roughness, Random &random)
{
    const int count = (1 << levels) + 1;
    QVector<qreal> values(count, 0.0);
    values[0] = random.range(-0.5, 0.5);
    values[count - 1] = random.range(-0.5, 0.5);
    qreal spread = 1.0;
    for (int step = count - 1; step > 1; step /= 2) {
        for (int i = step / 2; i < count; i += step)
            values[i] = (values[i - step / 2] + values[i + step / 2]) / 2 + random.range(-spread, spread);
        spread *= roughness;
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const qreal middle = (*low + *high) / 2;
    const qreal half = std::max(1e-6, (*high - *low) / 2);
    for (qreal &value : values)
        value = (value - middle) / half;
    return values;
}

// The area below a crest line, down to `bottom`.
QPainterPath silhouette(const QVector<QPointF> &crest, qreal bottom)
{
    QPainterPath path(QPointF(crest.first().x(), bottom));
    for (const QPointF &point : crest)
        path.lineTo(point);
    path.lineTo(crest.last().x(), bottom);
    path.closeSubpath();
    return path;
}

qreal crestHeightAt(const QVector<QPointF> &crest, qreal x)
{
    auto next = std::lower_bound(crest.begin(), crest.end(), x,
                                 [](const QPointF &point, qreal value) { return point.x() < value; });
    if (next == crest.begin())
        return next->y();
    if (next == crest.end())
        return crest.last().y();
    const QPointF &before = *(next - 1);
    const qreal t = (x - before.x()) / std::max(1e-6, next->x() - before.x());
    return before.y() + (next->y() - before.y()) * t;
}

// Sum of three uniform values: a cheap bell curve with a standard deviation of about 1.
qreal bell(Random &random)
{
    return (random.real() + random.real() + random.real() - 1.5) * 2;
}

void paintStars(QPainter &painter, qreal width, qreal lowest, int count, const QColor &colour,
                qreal unit, Random &random)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF centre(random.range(0, width), lowest * std::pow(random.real(), 1.4));
        const qreal fade = 1 - 0.85 * centre.y() / lowest;
        const qreal radius = unit * random.range(0.45, 1.3);
        const qreal alpha = random.range(0.25, 0.95) * fade;
        if (random.real() < 0.04) {
            QRadialGradient glow(centre, radius * 7);
            glow.setColorAt(0, withAlpha(colour, alpha * 0.45));
            glow.setColorAt(1, withAlpha(colour, 0));
            painter.setBrush(glow);
            painter.drawEllipse(centre, radius * 7, radius * 7);
        }
        painter.setBrush(withAlpha(colour, alpha));
        painter.drawEllipse(centre, radius, radius);
    }
    painter.restore();
}

void paintConifer(QPainter &painter, const QPointF &foot, qreal height, const QColor &colour)
{
    const qreal width = height * 0.42;
    QPainterPath tree;
    for (int tier = 0; tier < 3; ++tier) {
        const qreal top = foot.y() - height + tier * height * 0.24;
        const qreal bottom = top + height * (0.42 + tier * 0.08);
        const qreal half = width * (0.32 + tier * 0.14);
        tree.moveTo(foot.x(), top);
        tree.lineTo(foot.x() + half, bottom);
        tree.lineTo(foot.x() - half, bottom);
        tree.closeSubpath();
    }
    tree.addRect(QRectF(foot.x() - width * 0.06, foot.y() - height * 0.2, width * 0.12, height * 0.25));
    painter.fillPath(tree, colour);
}

void paintForest(QPainter &painter, const QVector<QPointF> &crest, qreal width, qreal unit,
                 qreal minHeight, qreal maxHeight, const QColor &colour, Random &random)
{
    const qreal phase = random.range(0, 2 * pi);
    for (qreal x = random.range(0, 6) * unit; x < width; x += random.range(4, 13) * unit) {
        const qreal density = 0.5 + 0.5 * std::sin(2 * pi * x / width * 3.2 + phase);
        if (random.real() > density * 0.95)
            continue;
        const qreal height = unit * random.range(minHeight, maxHeight) * (0.55 + 0.6 * density);
        paintConifer(painter, QPointF(x, crestHeightAt(crest, x) + unit * 3), height, colour);
    }
}

void paintSunDisc(QPainter &painter, const QPointF &centre, qreal radius, const QColor &top,
                  const QColor &bottom, qreal glowRadius, qreal glowAlpha)
{
    QRadialGradient glow(centre, glowRadius);
    glow.setColorAt(0, withAlpha(top, glowAlpha));
    glow.setColorAt(0.2, withAlpha(mix(top, bottom, 0.5), glowAlpha * 0.5));
    glow.setColorAt(0.55, withAlpha(bottom, glowAlpha * 0.15));
    glow.setColorAt(1, withAlpha(bottom, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, glowRadius, glowRadius);
    painter.setBrush(verticalGradient(centre.y() - radius, centre.y() + radius, { top, bottom }));
    painter.drawEllipse(centre, radius, radius);
}

}

WallpaperPainter::WallpaperPainter(const Design &design)
    : design(design)
{
}

unsigned WallpaperPainter::seed(unsigned salt) const
{
    return unsigned(design.number) * 7919u + salt;
}

QImage WallpaperPainter::paint(const QSize &size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    const QString &motif = design.motif;
    if (motif == "aurora")
        paintAurora(image);
    else if (motif == "dunes")
        paintDunes(image);
    else if (motif == "waves")
        paintWaves(image);
    else if (motif == "alpine")
        paintAlpine(image);
    else if (motif == "bauhaus")
        paintBauhaus(image);
    else if (motif == "bokeh")
        paintBokeh(image);
    else if (motif == "contours")
        paintContours(image);
    else if (motif == "lowpoly")
        paintLowPoly(image);
    else if (motif == "dusk")
        paintDusk(image);
    return image.convertToFormat(QImage::Format_RGB32);
}

void WallpaperPainter::paintAurora(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(1));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), verticalGradient(0, h, design.colourList("sky"), { 0, 0.55, 1 }));
    paintStars(painter, w, h * 0.8, int(w * h / 3500), design.colour("stars"), unit, random);

    // Curtains of light: one thin column after another, each a gradient from a
    // bright lower seam to nothing, their strength rippling along the curtain.
    // Painted twice from the same ribbons: a wide glow and a finer, crisper veil.
    struct Ribbon { qreal phase[5]; qreal start, end; };
    QVector<Ribbon> ribbons(3);
    for (Ribbon &ribbon : ribbons) {
        for (qreal &value : ribbon.phase)
            value = random.range(0, 2 * pi);
        ribbon.start = random.range(-0.25, 0.2);
        ribbon.end = random.range(0.8, 1.25);
    }
    const QVector<QColor> glow = design.colourList("glow");
    auto paintCurtains = [&](int factor, int blurRadius, qreal strength) {
        QImage light = smallLayer(image.size(), factor);
        QPainter curtains;
        beginSmall(curtains, light, image.size());
        curtains.setRenderHint(QPainter::Antialiasing, false);
        const qreal step = w / light.width();
        for (int index = 0; index < ribbons.size(); ++index) {
            const Ribbon &ribbon = ribbons[index];
            for (qreal x = 0; x < w; x += step) {
                const qreal t = x / w;
                const qreal envelope = smoothstep(ribbon.start, ribbon.start + 0.25, t)
                        * (1 - smoothstep(ribbon.end - 0.25, ribbon.end, t));
                if (envelope <= 0)
                    continue;
                const qreal base = h * (0.40 + 0.08 * index + 0.07 * std::sin(2 * pi * t * (0.6 + 0.35 * index) + ribbon.phase[0])
                                        + 0.025 * std::sin(2 * pi * t * 2.7 + ribbon.phase[1]));
                const qreal height = h * (0.26 - 0.05 * index) * (0.65 + 0.35 * std::sin(2 * pi * t * 1.4 + ribbon.phase[2]));
                const qreal rays = 0.68 + 0.32 * std::sin(x / (23 * unit) + ribbon.phase[3]) * std::sin(x / (57 * unit) + ribbon.phase[4]);
                const qreal alpha = strength * envelope * rays * (1 - 0.22 * index);
                QLinearGradient gradient(0, base, 0, base - height);
                gradient.setColorAt(0, withAlpha(glow[0], 0));
                gradient.setColorAt(0.04, withAlpha(glow[0], 0.95 * alpha));
                gradient.setColorAt(0.3, withAlpha(glow[1], 0.55 * alpha));
                gradient.setColorAt(0.75, withAlpha(glow[2], 0.25 * alpha));
                gradient.setColorAt(1, withAlpha(glow[2], 0));
                curtains.fillRect(QRectF(x, base - height, step, height), gradient);
            }
        }
        curtains.end();
        layOver(painter, light, blurRadius, image.rect(), QPainter::CompositionMode_Plus);
    };
    paintCurtains(4, 2, 0.8);
    paintCurtains(2, 1, 0.35);

    // A glow over the horizon, then the dark land with its forest.
    painter.fillRect(QRectF(0, h * 0.7, w, h * 0.2),
                     verticalGradient(h * 0.7, h * 0.9, { withAlpha(glow[1], 0), withAlpha(glow[1], 0.12) }));
    const QVector<qreal> rough = roughLine(8, 0.52, random);
    QVector<QPointF> crest;
    for (int i = 0; i < rough.size(); ++i) {
        const qreal t = qreal(i) / (rough.size() - 1);
        crest.append(QPointF(t * w, h * (0.87 + 0.03 * rough[i] - 0.035 * std::sin(pi * t * 1.3 + 0.4))));
    }
    const QColor land = design.colour("land");
    painter.fillPath(silhouette(crest, h), land);
    paintForest(painter, crest, w, unit, 16, 46, land, random);
    painter.end();
    ImageEffects::addGrain(image, 2, seed(100));
}

void WallpaperPainter::paintDusk(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(9));
    const QVector<QColor> sky = design.colourList("sky");
    const QVector<QColor> sun = design.colourList("sun");
    const QVector<QColor> hills = design.colourList("hills");
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), verticalGradient(0, h, sky, { 0, 0.42, 0.64, 0.8 }));
    paintStars(painter, w, h * 0.45, int(w * h / 9000), design.colour("stars"), unit * 0.9, random);

    const QPointF sunCentre(w * 0.3, h * 0.7);
    paintSunDisc(painter, sunCentre, h * 0.095, sun[0], sun[1], h * 0.85, 0.55);

    // A few birds on their way home.
    painter.setPen(QPen(withAlpha(hills.last(), 0.75), 1.8 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const QPointF at(w * 0.37 + random.range(0, w * 0.07), h * 0.5 + random.range(0, h * 0.08));
        const qreal span = unit * random.range(7, 12);
        QPainterPath bird(QPointF(at.x() - span, at.y() - span * 0.3));
        bird.quadTo(QPointF(at.x() - span * 0.45, at.y() - span * 0.55), at);
        bird.quadTo(QPointF(at.x() + span * 0.45, at.y() - span * 0.55), QPointF(at.x() + span, at.y() - span * 0.3));
        painter.drawPath(bird);
    }

    // Rolling hills, the far ones paler; haze gathers at the foot of each.
    for (int layer = 0; layer < hills.size(); ++layer) {
        const qreal base = h * (0.7 + 0.062 * layer);
        const qreal amplitude = h * (0.04 + 0.006 * layer);
        const qreal f1 = random.range(0.7, 1.5), f2 = random.range(2, 3.4), f3 = random.range(5, 8);
        const qreal p1 = random.range(0, 2 * pi), p2 = random.range(0, 2 * pi), p3 = random.range(0, 2 * pi);
        QVector<QPointF> crest;
        for (qreal x = 0; x <= w + 4; x += 4) {
            const qreal t = x / w;
            crest.append(QPointF(x, base - amplitude * (0.6 * std::sin(2 * pi * t * f1 + p1)
                                                       + 0.35 * std::sin(2 * pi * t * f2 + p2)
                                                       + 0.12 * std::sin(2 * pi * t * f3 + p3))));
        }
        painter.fillPath(silhouette(crest, h), hills[layer]);
        if (layer + 1 < hills.size()) {
            painter.fillRect(QRectF(0, base - amplitude, w, amplitude + h * 0.09),
                             verticalGradient(base - amplitude, base + h * 0.09,
                                              { withAlpha(sky.last(), 0), withAlpha(sky[2], 0.22) }));
        }
    }
    painter.end();
    ImageEffects::addGrain(image, 2, seed(100));
}

void WallpaperPainter::paintDunes(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(2));
    const QVector<QColor> sky = design.colourList("sky");
    const QVector<QColor> land = design.colourList("land");
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), verticalGradient(0, h, sky, { 0, 0.42, 0.7 }));
    paintSunDisc(painter, QPointF(w * 0.2, h * 0.33), h * 0.06, design.colour("sun"), sky[1], h * 0.6, 0.8);
    painter.fillRect(QRectF(0, h * 0.45, w, h * 0.2),
                     verticalGradient(h * 0.45, h * 0.65, { withAlpha(sky[0], 0), withAlpha(sky[0], 0.45) }));

    for (int layer = 0; layer < land.size(); ++layer) {
        const qreal base = h * (0.6 + 0.085 * layer);
        const qreal amplitude = h * (0.045 + 0.022 * layer);
        const qreal period = h * (0.9 + 0.35 * layer) * random.range(0.8, 1.2);
        const qreal phase = random.range(0, pi), sway = random.range(0, 2 * pi), swell = random.range(0, 2 * pi);
        // Cusped crests: 1 - |sin| peaks sharply, and a sideways sway makes the
        // ridges lean like wind-blown sand.
        QVector<QPointF> crest;
        for (qreal x = -8; x <= w + 8; x += 3) {
            const qreal warped = x + period * 0.18 * std::sin(2 * pi * x / (period * 1.7) + sway);
            const qreal ridge = std::pow(1 - std::abs(std::sin(pi * warped / period + phase)), 1.6);
            crest.append(QPointF(x, base - amplitude * ridge
                                 - amplitude * 0.35 * std::sin(2 * pi * x / (period * 2.9) + swell)));
        }
        const QPainterPath dune = silhouette(crest, h);
        painter.fillPath(dune, verticalGradient(base - amplitude * 1.4, base + amplitude,
                                                { shade(land[layer], 1.1), land[layer] }));

        // The lee side of every crest lies in shadow, the sun being on the left.
        painter.save();
        painter.setClipPath(dune);
        const qreal foot = base + amplitude * 1.2;
        const QColor dark = shade(land[layer], 0.8);
        for (int i = 1; i + 1 < crest.size(); ++i) {
            if (!(crest[i].y() < crest[i - 1].y() && crest[i].y() <= crest[i + 1].y()))
                continue;
            int trough = i + 1;
            while (trough + 1 < crest.size() && crest[trough + 1].y() >= crest[trough].y())
                ++trough;
            QPolygonF lee;
            for (int j = i; j <= trough; ++j)
                lee.append(crest[j]);
            // The shadow's edge runs from the trough down towards the foot of
            // the crest, as a wind-cut slip face does.
            lee.append(QPointF(crest[i].x() + 0.35 * (crest[trough].x() - crest[i].x()), foot));
            painter.setPen(Qt::NoPen);
            painter.setBrush(verticalGradient(crest[i].y(), foot, { withAlpha(dark, 0.75), withAlpha(dark, 0.3) }));
            painter.drawPolygon(lee);
        }
        // Ripples drawn by the wind on the near dunes.
        if (layer >= 2) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(withAlpha(shade(land[layer], 0.85), 0.3), 1.3 * unit));
            for (int ripple = 1; ripple <= 7; ++ripple) {
                const qreal offset = amplitude * 0.22 * ripple;
                const qreal wobble = random.range(0, 2 * pi);
                QPainterPath line;
                for (int j = 0; j < crest.size(); j += 2) {
                    const QPointF point(crest[j].x(), crest[j].y() + offset
                                        + unit * 5 * std::sin(crest[j].x() / (40 * unit) + wobble));
                    if (j == 0)
                        line.moveTo(point);
                    else
                        line.lineTo(point);
                }
                painter.drawPath(line);
            }
        }
        painter.restore();
    }
    painter.end();
    ImageEffects::addGrain(image, 3, seed(100));
}

void WallpaperPainter::paintWaves(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(3));
    const QVector<QColor> sea = design.colourList("sea");
    const QColor foam = design.colour("foam");
    const QColor moon = design.colour("moon");
    const qreal horizon = h * 0.5;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), verticalGradient(0, horizon, design.colourList("sky")));
    paintStars(painter, w, horizon * 0.9, int(w * h / 12000), foam, unit * 0.8, random);
    const QPointF moonCentre(w * 0.24, h * 0.21);
    paintSunDisc(painter, moonCentre, h * 0.045, moon, shade(moon, 0.9), h * 0.4, 0.35);

    QImage glow = smallLayer(image.size(), 4);
    QPainter glowPainter;
    beginSmall(glowPainter, glow, image.size());
    const qreal tops[] = { 0.5, 0.575, 0.66, 0.76, 0.875 };
    for (int layer = 0; layer < sea.size(); ++layer) {
        const qreal top = h * tops[std::min(layer, 4)];
        const qreal amplitude = h * (0.004 + 0.011 * layer);
        const qreal length = h * (0.1 + 0.13 * layer);
        const qreal phase = random.range(0, 2 * pi), phase2 = random.range(0, 2 * pi);
        const qreal phase3 = random.range(0, 2 * pi), swell = random.range(3.5, 6);
        QVector<QPointF> crest;
        for (qreal x = -4; x <= w + 4; x += 3) {
            // A phase that runs ahead near the crest makes a wave lean forward;
            // a shorter second wave and a slow swell break the regularity.
            auto leaning = [](qreal angle) { return std::cos(angle + 0.5 * std::sin(angle)); };
            const qreal local = amplitude * (0.75 + 0.35 * std::sin(2 * pi * x / (length * swell) + phase3));
            crest.append(QPointF(x, top - local * (leaning(2 * pi * x / length + phase)
                                                   + 0.35 * leaning(2 * pi * x / (length * 0.47) + phase2))));
        }
        painter.fillPath(silhouette(crest, h), verticalGradient(top - amplitude, h, { sea[layer], shade(sea[layer], 0.7) }));
        QPainterPath edge(crest.first());
        for (const QPointF &point : crest)
            edge.lineTo(point);
        painter.strokePath(edge, QPen(withAlpha(foam, 0.22 + 0.04 * layer), 1.3 * unit));
        glowPainter.strokePath(edge, QPen(withAlpha(foam, 0.18), 12 * unit));
    }
    glowPainter.end();
    layOver(painter, glow, 2, image.rect(), QPainter::CompositionMode_Plus);

    // The moon's path on the water: short glints that spread towards the viewer.
    painter.setPen(Qt::NoPen);
    for (qreal y = horizon + unit; y < h; ) {
        const qreal near = (y - horizon) / (h - horizon);
        const qreal spread = w * (0.012 + 0.09 * near);
        for (int i = 0; i < 3; ++i) {
            const qreal offset = bell(random) * spread;
            const qreal length = unit * random.range(6, 34) * (1 + 2 * near);
            const qreal alpha = 0.7 * random.real() * std::max(0.0, 1 - std::abs(offset) / (2.2 * spread)) * (1 - 0.5 * near);
            painter.setBrush(withAlpha(moon, alpha));
            painter.drawRoundedRect(QRectF(moonCentre.x() + offset - length / 2, y, length, unit * (1.2 + 1.5 * near)),
                                    unit, unit);
        }
        y += unit * (2.5 + 7 * near) * random.range(0.7, 1.3);
    }
    painter.end();
    ImageEffects::addGrain(image, 2, seed(100));
}

void WallpaperPainter::paintAlpine(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(4));
    const QVector<QColor> ridges = design.colourList("ridges");
    const QColor mist = design.colour("mist");
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), verticalGradient(0, h, design.colourList("sky"), { 0, 0.5, 0.78 }));
    paintSunDisc(painter, QPointF(w * 0.2, h * 0.17), h * 0.035, design.colour("sun"), design.colour("sun"), h * 0.55, 0.75);

    for (int layer = 0; layer < ridges.size(); ++layer) {
        const qreal base = h * (0.5 + 0.1 * layer);
        const qreal amplitude = h * (0.2 - 0.025 * layer);
        const QVector<qreal> rough = roughLine(9, 0.56 - 0.02 * layer, random);
        QVector<QPointF> crest;
        for (int i = 0; i < rough.size(); ++i)
            crest.append(QPointF(w * i / (rough.size() - 1), base - amplitude * (0.5 + 0.5 * rough[i])));
        const QPainterPath range = silhouette(crest, h);
        painter.fillPath(range, verticalGradient(base - amplitude, base + h * 0.1,
                                                 { shade(ridges[layer], 1.12), ridges[layer] }));
        if (layer == ridges.size() - 1)
            paintForest(painter, crest, w, unit, 30, 80, shade(ridges[layer], 0.75), random);
        if (layer == ridges.size() - 2)
            paintForest(painter, crest, w, unit, 14, 34, shade(ridges[layer], 0.85), random);
        if (layer + 1 < ridges.size()) {
            painter.fillRect(QRectF(0, base - amplitude * 0.4, w, amplitude * 0.4 + h * 0.12),
                             verticalGradient(base - amplitude * 0.4, base + h * 0.12,
                                              { withAlpha(mist, 0), withAlpha(mist, 0.7), withAlpha(mist, 0.45) },
                                              { 0, 0.6, 1 }));
        }
    }
    painter.end();
    ImageEffects::addGrain(image, 2, seed(100));
}

void WallpaperPainter::paintBauhaus(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(5));
    const QColor paper = design.colour("paper");
    const QVector<QColor> shapes = design.colourList("shapes");
    const QColor &red = shapes[0], &navy = shapes[1], &yellow = shapes[2], &teal = shapes[3], &black = shapes[4];
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), paper);

    // Mottled paper.
    QImage blotches = smallLayer(image.size(), 16);
    QPainter blotchPainter;
    beginSmall(blotchPainter, blotches, image.size());
    blotchPainter.setPen(Qt::NoPen);
    for (int i = 0; i < 160; ++i) {
        blotchPainter.setBrush(withAlpha(shade(paper, random.real() < 0.5 ? 0.94 : 1.04), 0.18));
        const qreal radius = h * random.range(0.02, 0.09);
        blotchPainter.drawEllipse(QPointF(random.range(0, w), random.range(0, h)), radius, radius);
    }
    blotchPainter.end();
    layOver(painter, blotches, 2, image.rect());

    // Overlapping shapes multiply like printed inks.
    painter.setPen(Qt::NoPen);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    auto circleRect = [](const QPointF &centre, qreal radius) {
        return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    };
    painter.setBrush(navy);
    painter.drawPie(circleRect(QPointF(w * 0.13, h), h * 0.36), 0, 180 * 16);
    painter.setBrush(red);
    painter.drawEllipse(circleRect(QPointF(w * 0.29, h * 0.4), h * 0.24));
    painter.setBrush(yellow);
    painter.drawPie(circleRect(QPointF(w * 0.47, h * 0.76), h * 0.23), 90 * 16, 90 * 16);
    painter.setBrush(teal);
    painter.drawRect(QRectF(w * 0.43, h * 0.13, h * 0.1, h * 0.1));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    painter.setBrush(black);
    painter.drawRect(QRectF(w * 0.05, h * 0.8, w * 0.47, h * 0.02));
    QPolygonF triangle;
    triangle << QPointF(w * 0.09, h * 0.36) << QPointF(w * 0.09 + h * 0.09, h * 0.36) << QPointF(w * 0.09, h * 0.27);
    painter.drawPolygon(triangle);
    painter.setBrush(navy);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column)
            painter.drawEllipse(QPointF(w * 0.05 + column * h * 0.035, h * 0.1 + row * h * 0.035), h * 0.006, h * 0.006);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(black, 2.2 * unit));
    painter.drawArc(circleRect(QPointF(w * 0.33, h * 0.5), h * 0.34), 200 * 16, 250 * 16);
    painter.setPen(QPen(black, 1.6 * unit));
    painter.drawLine(QPointF(w * 0.585, h * 0.12), QPointF(w * 0.585, h * 0.88));
    painter.end();
    ImageEffects::addGrain(image, 4, seed(100));
}

void WallpaperPainter::paintBokeh(QImage &image) const
{
    const qreal w = image.width(), h = image.height(), unit = h / 1080;
    Random random(seed(6));
    const QVector<QColor> sky = design.colourList("sky");
    const QVector<QColor> lights = design.colourList("lights");
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), verticalGradient(0, h, sky, { 0, 0.6, 1 }));

    // Lights gather along a band that falls from the upper right to the lower left.
    auto lightPosition = [&](qreal scatter) {
        const qreal x = random.range(-0.05, 1.05) * w;
        return QPointF(x, h * (0.78 - 0.5 * x / w) + bell(random) * scatter * h);
    };

    // A city out of focus far below.
    QImage city = smallLayer(image.size(), 6);
    QPainter cityPainter;
    beginSmall(cityPainter, city, image.size());
    cityPainter.setPen(Qt::NoPen);
    for (qreal x = -20 * unit; x < w; x += random.range(30, 90) * unit) {
        const qreal width = random.range(40, 110) * unit;
        const qreal height = h * random.range(0.08, 0.26);
        cityPainter.setBrush(withAlpha(shade(sky[2], 0.6), 0.85));
        cityPainter.drawRect(QRectF(x, h - height, width, height));
        cityPainter.setBrush(withAlpha(lights[1], 0.5));
        for (int window = 0; window < 5; ++window)
            cityPainter.drawRect(QRectF(x + random.range(0, width - 6 * unit), h - height * random.range(0.1, 0.95), 6 * unit, 6 * unit));
    }
    cityPainter.end();
    layOver(painter, city, 2, image.rect());

    QImage far = smallLayer(image.size(), 8);
    QPainter farPainter;
    beginSmall(farPainter, far, image.size());
    farPainter.setPen(Qt::NoPen);
    for (int i = 0; i < 34; ++i) {
        const qreal radius = h * random.range(0.05, 0.13);
        farPainter.setBrush(withAlpha(lights[int(random.next() % lights.size())], random.range(0.12, 0.3)));
        farPainter.drawEllipse(lightPosition(0.22), radius, radius);
    }
    farPainter.end();
    layOver(painter, far, 3, image.rect(), QPainter::CompositionMode_Plus);

    // Discs with a brighter rim, as a lens draws them.
    QImage middle = smallLayer(image.size(), 2);
    QPainter discPainter;
    beginSmall(discPainter, middle, image.size());
    for (int i = 0; i < 75; ++i) {
        const QPointF centre = lightPosition(0.16);
        const qreal radius = h * random.range(0.012, 0.05);
        const QColor colour = lights[int(random.next() % lights.size())];
        const qreal alpha = random.range(0.15, 0.42);
        QRadialGradient disc(centre, radius);
        disc.setColorAt(0, withAlpha(colour, alpha * 0.55));
        disc.setColorAt(0.85, withAlpha(colour, alpha * 0.8));
        disc.setColorAt(1, withAlpha(colour, alpha * 1.4));
        discPainter.setPen(Qt::NoPen);
        discPainter.setBrush(disc);
        discPainter.drawEllipse(centre, radius, radius);
    }
    discPainter.end();
    layOver(painter, middle, 1, image.rect(), QPainter::CompositionMode_Plus);

    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 45; ++i) {
        const QPointF centre = lightPosition(0.12);
        const qreal radius = unit * random.range(1.5, 4);
        const QColor colour = shade(lights[int(random.next() % lights.size())], 1.3);
        QRadialGradient glow(centre, radius * 5);
        glow.setColorAt(0, withAlpha(colour, 0.9));
        glow.setColorAt(0.2, withAlpha(colour, 0.5));
        glow.setColorAt(1, withAlpha(colour, 0));
        painter.setBrush(glow);
        painter.drawEllipse(centre, radius * 5, radius * 5);
    }

    QRadialGradient vignette(QPointF(w / 2, h / 2), std::hypot(w, h) / 2);
    vignette.setColorAt(0.5, withAlpha(Qt::black, 0));
    vignette.setColorAt(1, withAlpha(Qt::black, 0.45));
    painter.fillRect(image.rect(), vignette);
    painter.end();
    ImageEffects::addGrain(image, 2, seed(100));
}

void WallpaperPainter::paintContours(QImage &image) const
{
    const int width = image.width(), height = image.height();
    const qreal w = width, h = height, unit = h / 1080;
    Random random(seed(7));
    const QVector<QColor> ground = design.colourList("ground");
    {
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, w, h);
        for (int i = 0; i < ground.size(); ++i)
            gradient.setColorAt(qreal(i) / (ground.size() - 1), ground[i]);
        painter.fillRect(image.rect(), gradient);
    }

    // A landscape of hills and hollows, measured in units of the height so that
    // both bitmaps show the same land.
    struct Hill { qreal x, y, radius, height; };
    QVector<Hill> landscape;
    for (int i = 0; i < 11; ++i)
        landscape.append({ random.range(-0.1, 1.1) * w / h, random.range(-0.1, 1.1), random.range(0.1, 0.38),
                           random.range(0.35, 1.0) * (random.real() < 0.25 ? -1 : 1) });
    std::vector<float> field(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const qreal v = y / h;
        for (int x = 0; x < width; ++x) {
            const qreal u = x / h;
            qreal value = 0.25 * u;
            for (const Hill &hill : landscape) {
                const qreal du = u - hill.x, dv = v - hill.y;
                value += hill.height * std::exp(-(du * du + dv * dv) / (hill.radius * hill.radius));
            }
            field[size_t(y) * width + x] = float(value * 16);
        }
    }

    // Each level line is drawn where the field crosses a whole number, with a
    // width measured in pixels through the field's local slope; every fifth
    // line is an index line. A little hill shading from the upper left.
    const QColor line = design.colour("lines"), index = design.colour("index");
    for (int y = 1; y < height - 1; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 1; x < width - 1; ++x) {
            const size_t at = size_t(y) * width + x;
            const float value = field[at];
            const float dx = (field[at + 1] - field[at - 1]) / 2;
            const float dy = (field[at + width] - field[at - width]) / 2;
            const float slope = std::max(1e-4f, std::sqrt(dx * dx + dy * dy));
            const float nearest = std::round(value);
            const float distance = std::abs(value - nearest) / slope;
            const bool isIndex = int(nearest) % 5 == 0;
            const float halfWidth = float(unit) * (isIndex ? 1.1f : 0.55f);
            const float coverage = std::clamp(halfWidth + 0.5f - distance, 0.0f, 1.0f) * (isIndex ? 0.85f : 0.5f);
            const float light = std::clamp(-(dx + dy) * 6.0f / float(unit), -1.0f, 1.0f) * 10.0f;
            const QColor &ink = isIndex ? index : line;
            const QRgb base = row[x];
            auto blend = [&](int background, int foreground) {
                return std::clamp(int(std::lround((background + light) * (1 - coverage) + foreground * coverage)), 0, 255);
            };
            row[x] = qRgb(blend(qRed(base), ink.red()), blend(qGreen(base), ink.green()), blend(qBlue(base), ink.blue()));
        }
    }

    // A map grid with small crosses.
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal cell = h / 6;
    painter.setPen(QPen(withAlpha(line, 0.08), unit));
    for (qreal x = cell; x < w; x += cell)
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
    for (qreal y = cell; y < h; y += cell)
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    painter.setPen(QPen(withAlpha(line, 0.4), 1.4 * unit));
    for (qreal x = cell; x < w; x += cell) {
        for (qreal y = cell; y < h; y += cell) {
            painter.drawLine(QPointF(x - 6 * unit, y), QPointF(x + 6 * unit, y));
            painter.drawLine(QPointF(x, y - 6 * unit), QPointF(x, y + 6 * unit));
        }
    }
    QRadialGradient vignette(QPointF(w / 2, h / 2), std::hypot(w, h) / 2);
    vignette.setColorAt(0.45, withAlpha(Qt::black, 0));
    vignette.setColorAt(1, withAlpha(Qt::black, 0.4));
    painter.fillRect(image.rect(), vignette);
    painter.end();
    ImageEffects::addGrain(image, 1, seed(100));
}

void WallpaperPainter::paintLowPoly(QImage &image) const
{
    const qreal w = image.width(), h = image.height();
    Random random(seed(8));
    const QVector<QColor> field = design.colourList("field");
    const int rows = 8;
    const int columns = int(std::round(rows * w / h));
    const qreal cellWidth = w / columns, cellHeight = h / rows;

    // A jittered grid of points, each with a height that tilts the facets.
    struct Point { QPointF at; qreal height; };
    QVector<Point> points;
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const bool edgeX = column == 0 || column == columns, edgeY = row == 0 || row == rows;
            points.append({ QPointF(column * cellWidth + (edgeX ? 0 : random.range(-0.38, 0.38) * cellWidth),
                                    row * cellHeight + (edgeY ? 0 : random.range(-0.38, 0.38) * cellHeight)),
                            random.range(0, 1) * cellHeight * 0.9 });
        }
    }
    auto point = [&](int row, int column) { return points[row * (columns + 1) + column]; };
    const qreal phase = random.range(0, 2 * pi);
    auto facet = [&](const Point &a, const Point &b, const Point &c) {
        const QPointF centre = (a.at + b.at + c.at) / 3;
        const qreal t = 0.55 * centre.x() / w + 0.45 * centre.y() / h + 0.07 * std::sin(3 * centre.x() / w + phase);
        // Light from the upper left on the facet's normal.
        const qreal ux = b.at.x() - a.at.x(), uy = b.at.y() - a.at.y(), uz = b.height - a.height;
        const qreal vx = c.at.x() - a.at.x(), vy = c.at.y() - a.at.y(), vz = c.height - a.height;
        qreal nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        if (nz < 0) {
            nx = -nx; ny = -ny; nz = -nz;
        }
        const qreal length = std::max(1e-6, std::sqrt(nx * nx + ny * ny + nz * nz));
        const qreal lighting = (-0.5 * nx - 0.6 * ny + 0.62 * nz) / length;
        return shade(sampleRamp(field, t), 0.8 + 0.35 * lighting);
    };
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const Point a = point(row, column), b = point(row, column + 1);
            const Point c = point(row + 1, column + 1), d = point(row + 1, column);
            const bool flip = random.real() < 0.5;
            const Point triangles[2][3] = { { a, b, flip ? c : d }, { flip ? a : b, c, d } };
            for (const auto &triangle : triangles) {
                const QColor colour = facet(triangle[0], triangle[1], triangle[2]);
                // A hairline of the same colour closes the seams that
                // antialiasing leaves between neighbours.
                painter.setPen(QPen(colour, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                painter.setBrush(colour);
                painter.drawPolygon(QPolygonF({ triangle[0].at, triangle[1].at, triangle[2].at }));
            }
        }
    }
    QRadialGradient sheen(QPointF(w * 0.7, h * 0.2), h * 0.9);
    sheen.setColorAt(0, withAlpha(Qt::white, 0.14));
    sheen.setColorAt(1, withAlpha(Qt::white, 0));
    painter.fillRect(image.rect(), sheen);
    painter.end();
    ImageEffects::addGrain(image, 1, seed(100));
}
