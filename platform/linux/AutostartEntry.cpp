#include "AutostartEntry.h"

#include "DesktopEntry.h"
#include "FileContentSave.h"

#include <QFile>
#include <QStandardPaths>

QString AutostartEntry::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1String("/autostart/zintello.desktop");
}

bool AutostartEntry::write(const QString &programFilePath)
{
    return FileContentSave::replace(filePath(), contents(programFilePath));
}

void AutostartEntry::remove()
{
    QFile::remove(filePath());
}

QByteArray AutostartEntry::contents(const QString &programFilePath)
{
    const QString text = QLatin1String("[Desktop Entry]\n"
                                       "Type=Application\n"
                                       "Name=ZINTELLO\n"
                                       "Exec=") + DesktopEntry::execValue(programFilePath)
                         // Sessions skip the entry once the program is gone (uninstalled).
                         + QLatin1String("\nTryExec=") + DesktopEntry::escapedValue(programFilePath)
                         + QLatin1String("\nIcon=zintello\n");
    return text.toUtf8();
}
