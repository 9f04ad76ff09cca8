#include "WallpaperRecord.h"

#include "FileContentSave.h"

#include <QFile>
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

bool WallpaperRecord::write(const QString &path)
{
    return FileContentSave::replace(filePath(), path.toUtf8() + '\n');
}
