#include "SwayWallpaper.h"

#include "DesktopTool.h"
#include "WallpaperRecord.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

QString SwayWallpaper::current() const
{
    const QString recorded = WallpaperRecord::read();
    if (!recorded.isEmpty())
        return recorded;
    const QJsonObject reply = QJsonDocument::fromJson(
                                  DesktopTool::output(QStringLiteral("swaymsg"),
                                                      {QStringLiteral("-t"), QStringLiteral("get_config")})
                                      .toUtf8())
                                  .object();
    return configuredPicture(reply.value(QStringLiteral("config")).toString(), QDir::homePath());
}

bool SwayWallpaper::set(const QString &path)
{
    // One argument: swaymsg joins its arguments into one command line.
    if (DesktopTool::run(QStringLiteral("swaymsg"),
                         {QStringLiteral("output * bg %1 fill").arg(quotedArgument(path))}))
        return WallpaperRecord::write(path);
    return true;
}

QString SwayWallpaper::configuredPicture(const QString &configuration, const QString &homePath)
{
    static const QRegularExpression line(
        QStringLiteral("^\\s*output\\s+\\S+\\s+(?:bg|background)\\s+(\"[^\"]+\"|'[^']+'|\\S+)\\s+"
                       "(?:stretch|fill|fit|center|tile)\\b"),
        QRegularExpression::MultilineOption);
    QString picture = line.match(configuration).captured(1);
    if (picture.startsWith(QLatin1Char('"')) || picture.startsWith(QLatin1Char('\'')))
        picture = picture.mid(1, picture.size() - 2);
    if (picture.startsWith(QLatin1String("~/")))
        picture = homePath + picture.mid(1);
    return picture.startsWith(QLatin1Char('/')) ? picture : QString();
}

QString SwayWallpaper::quotedArgument(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
