#include "PlasmaWallpaper.h"

#include "GnomeBackground.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QScreen>
#include <QStringList>
#include <QUrl>

namespace {

// Plasma keeps the image wallpaper's settings in this group of each desktop.
const char imageGroup[] = "d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];";

} // namespace

QString PlasmaWallpaper::current() const
{
    const QString uri = evaluate(QStringLiteral("var d = desktops()[0]; %1 print(d.readConfig('Image'));")
                                     .arg(QLatin1String(imageGroup)));
    return GnomeBackground::pathFromUri(uri.trimmed());
}

bool PlasmaWallpaper::set(const QString &path)
{
    return setPerScreen(ScreenPictures::same(path));
}

bool PlasmaWallpaper::setPerScreen(const ScreenPictures &pictures)
{
    QList<QPair<QRect, QString>> screens;
    for (const QPair<QScreen *, QString> &screen : pictures.screens)
        screens.append({screen.first->geometry(), screen.second});
    evaluate(scriptSetting(screens, pictures.primary));
    return true;
}

QString PlasmaWallpaper::scriptSetting(const QList<QPair<QRect, QString>> &screens, const QString &primary)
{
    // GVariant's quoting is that of a script's single-quoted string.
    const auto uri = [](const QString &path) {
        return GnomeBackground::quotedValue(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    };
    QStringList pictures;
    for (const QPair<QRect, QString> &screen : screens) {
        const QRect &place = screen.first;
        pictures << QStringLiteral("'%1,%2,%3,%4': %5")
                        .arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height())
                        .arg(uri(screen.second));
    }
    return QStringLiteral("var pictures = {%1};"
                          " desktops().forEach(function (d) {"
                          " var g = screenGeometry(d.screen);"
                          " var picture = pictures[[g.x, g.y, g.width, g.height].join(',')] || %2;"
                          " d.wallpaperPlugin = 'org.kde.image'; %3 d.writeConfig('Image', picture); });")
        .arg(pictures.join(QStringLiteral(", ")), uri(primary), QLatin1String(imageGroup));
}

QString PlasmaWallpaper::evaluate(const QString &script)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    // plasmashell answers at once; the bound only keeps a stuck shell from freezing the program.
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().first().toString();
}
