#include "PrivateRuntimeDirectory.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

QString PrivateRuntimeDirectory::path()
{
    const QString candidates[] = {qEnvironmentVariable("XDG_RUNTIME_DIR"),
                                  QStringLiteral("/run/user/") + QString::number(::geteuid())};
    for (const QString &candidate : candidates) {
        if (!candidate.isEmpty() && isPrivate(candidate))
            return candidate;
    }
    return ownFallback();
}

bool PrivateRuntimeDirectory::isPrivate(const QString &directory)
{
    struct stat status = {};
    return QDir::isAbsolutePath(directory)
           && ::lstat(QFile::encodeName(directory).constData(), &status) == 0
           && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid()
           && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QString PrivateRuntimeDirectory::ownFallback()
{
    // Per machine: home directories can be shared between machines.
    const QString parent = QDir::homePath() + QStringLiteral("/.cache");
    const QString directory = parent + QStringLiteral("/zintello-runtime-")
                              + QSysInfo::machineHostName();
    QDir().mkpath(parent);
    ::mkdir(QFile::encodeName(directory).constData(), 0700);
    return isPrivate(directory) ? directory : QString();
}
