#ifndef SETTINGSFILEFORMAT_H
#define SETTINGSFILEFORMAT_H

#include <QByteArray>
#include <QSettings>

// The settings store's file, in the same INI text that Qt's own file format
// writes and reads (older versions of the programs read it unchanged), saved so
// that a failed save leaves the previous file whole.
//
// Qt 5 renames its temporary file into place even when the final flush of its
// buffer failed (a full disk): the store was then emptied. A format of our own
// flushes inside the write function and reports the failure, upon which Qt
// drops the temporary file, keeps the changes in memory and reports an
// AccessError status.
class SettingsFileFormat
{
public:
    // The format, registered with Qt on the first call.
    static QSettings::Format format();

    static QByteArray encode(const QSettings::SettingsMap &map);
    // false when the text is not INI text; what could be read is in map.
    static bool decode(const QByteArray &text, QSettings::SettingsMap &map);

private:
    SettingsFileFormat() = delete;
    static bool read(QIODevice &device, QSettings::SettingsMap &map);
    static bool write(QIODevice &device, const QSettings::SettingsMap &map);
};

#endif
