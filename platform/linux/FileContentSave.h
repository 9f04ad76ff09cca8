#ifndef FILECONTENTSAVE_H
#define FILECONTENTSAVE_H

#include <QByteArray>
#include <QString>

// Replaces a file's content as a whole, and only when it differs: every write and
// the final flush are checked, and a save that fails (a full disk) is cancelled,
// so the previous file stays as it was.
class FileContentSave
{
public:
    // True when the file now holds the content, false when it still holds the old one.
    static bool replace(const QString &path, const QByteArray &content);

private:
    FileContentSave() = delete;
};

#endif
