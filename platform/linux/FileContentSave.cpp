#include "FileContentSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool FileContentSave::replace(const QString &path, const QByteArray &content)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.size() == content.size()
        && current.readAll() == content)
        return true;
    current.close();

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Unbuffered: with a buffer, Qt flushes only while committing and renames the
    // file into place even when that last write failed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
