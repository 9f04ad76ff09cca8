#include "XfconfWallpaper.h"

#include "DesktopTool.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QString channel = QStringLiteral("xfce4-desktop");

} // namespace

QString XfconfWallpaper::current() const
{
    const QStringList properties = pictureProperties();
    return properties.isEmpty() ? QString() : value(properties.first());
}

bool XfconfWallpaper::set(const QString &path)
{
    QStringList properties = pictureProperties();
    // Until the user picks a picture xfdesktop shows its default without writing
    // the property: the monitors' first workspaces get one.
    if (properties.isEmpty()) {
        const QList<QScreen *> screens = QGuiApplication::screens();
        for (const QScreen *screen : screens)
            properties << QStringLiteral("/backdrop/screen0/monitor%1/workspace0/last-image").arg(screen->name());
    }
    for (const QString &property : qAsConst(properties))
        setValue(property, path);
    return true;
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
