#include "WallpaperRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString WallpaperRecord::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1String("/Morvaleen/desktop-wallpaper");
}

QString WallpaperRecord::read()
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString path = QString::fromUtf8(file.readAll());
    if (path.endsWith(QLatin1Char('\n')))
        path.chop(1);
    return path;
}

void WallpaperRecord::write(const QString &path)
{
    const QString recordPath = filePath();
    QDir().mkpath(QFileInfo(recordPath).absolutePath());
    // Replaced as a whole: a crash while writing leaves the previous record.
    QSaveFile file(recordPath);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(path.toUtf8() + '\n');
    file.commit();
}
