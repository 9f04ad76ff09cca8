#include "XfconfWallpaper.h"

#include "DesktopTool.h"
#include "WallpaperPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

namespace {

const QString channel = QStringLiteral("xfce4-desktop");

QString monitorPath(const QString &monitor)
{
    return QStringLiteral("/backdrop/screen0/monitor%1/").arg(monitor);
}

} // namespace

QString XfconfWallpaper::current() const
{
    const QStringList properties = pictureProperties();
    return properties.isEmpty() ? QString() : value(properties.first());
}

bool XfconfWallpaper::set(const QString &path)
{
    return setPerScreen(ScreenPictures::same(path));
}

bool XfconfWallpaper::setPerScreen(const ScreenPictures &pictures)
{
    QStringList others = pictureProperties();
    for (const QPair<QScreen *, QString> &screen : pictures.screens) {
        QStringList own = propertiesOfMonitor(others, screen.first->name());
        // Until the user picks a picture xfdesktop shows its default without
        // writing the property: the monitor's first workspace gets one.
        if (own.isEmpty())
            own << monitorPath(screen.first->name()) + QStringLiteral("workspace0/last-image");
        for (const QString &property : qAsConst(own)) {
            setValue(property, screen.second);
            others.removeAll(property);
        }
    }
    // Monitors that are not connected now find the primary screen's picture when they come.
    for (const QString &property : qAsConst(others))
        setValue(property, pictures.primary);
    return true;
}

QImage XfconfWallpaper::picture(const QRect &screen) const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *shown : screens) {
        if (shown->geometry() != screen)
            continue;
        const QStringList own = propertiesOfMonitor(pictureProperties(), shown->name());
        if (!own.isEmpty())
            return WallpaperPicture::compose(QImage(value(own.first())), screen.size(), {});
    }
    return DesktopWallpaper::picture(screen);
}

KeptPicture XfconfWallpaper::keep() const
{
    KeptPicture kept;
    const QStringList properties = pictureProperties();
    for (const QString &property : properties)
        kept.details.insert(property, value(property));
    if (!properties.isEmpty())
        kept.path = kept.details.value(properties.first());
    return kept;
}

void XfconfWallpaper::restore(const KeptPicture &kept)
{
    if (kept.details.isEmpty()) {
        set(kept.path);
        return;
    }
    for (auto picture = kept.details.cbegin(); picture != kept.details.cend(); ++picture)
        setValue(picture.key(), picture.value());
}

QStringList XfconfWallpaper::pictureProperties()
{
    const QString listing = DesktopTool::output(QStringLiteral("xfconf-query"),
                                                {QStringLiteral("-c"), channel, QStringLiteral("-l")});
    QStringList properties;
    const QStringList lines = listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (line.trimmed().endsWith(QLatin1String("/last-image")))
            properties << line.trimmed();
    }
    properties.sort();
    return properties;
}

QStringList XfconfWallpaper::propertiesOfMonitor(const QStringList &properties, const QString &monitor)
{
    QStringList own;
    for (const QString &property : properties) {
        if (property.startsWith(monitorPath(monitor)))
            own << property;
    }
    return own;
}

QString XfconfWallpaper::value(const QString &property)
{
    return DesktopTool::output(QStringLiteral("xfconf-query"),
                               {QStringLiteral("-c"), channel, QStringLiteral("-p"), property});
}

void XfconfWallpaper::setValue(const QString &property, const QString &value)
{
    DesktopTool::run(QStringLiteral("xfconf-query"),
                     {QStringLiteral("-c"), channel, QStringLiteral("-p"), property, QStringLiteral("-n"),
                      QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"), value});
}
