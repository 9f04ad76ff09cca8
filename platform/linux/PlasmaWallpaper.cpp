#include "PlasmaWallpaper.h"

#include "GnomeBackground.h"

#include <QDBusConnection>
#include <QDBusMessage>
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
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    evaluate(QStringLiteral("desktops().forEach(function (d) {"
                            " d.wallpaperPlugin = 'org.kde.image'; %1 d.writeConfig('Image', %2); });")
                 .arg(QLatin1String(imageGroup),
                      // GVariant's quoting is that of a script's single-quoted string.
                      GnomeBackground::quotedValue(uri)));
    return true;
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
