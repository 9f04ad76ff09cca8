#include "OwnPictureStore.h"

#include "FileContentSave.h"
#include "SettingsFileFormat.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString dataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString storePath()
{
    return dataDirectory() + QStringLiteral("/own-desktop-picture.ini");
}

} // namespace

QString OwnPictureStore::copyPath()
{
    return dataDirectory() + QStringLiteral("/own-desktop-picture.png");
}

bool OwnPictureStore::saveCopy(const QImage &picture)
{
    QDir().mkpath(dataDirectory());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // A picture kept before stays until the new one is complete on the disk.
    return picture.save(&buffer, "PNG") && FileContentSave::replace(copyPath(), png);
}

void OwnPictureStore::save(const KeptPicture &kept)
{
    QDir().mkpath(dataDirectory());
    // Saved as the settings store is: a failed save leaves the previous file whole.
    QSettings store(storePath(), SettingsFileFormat::format());
    store.clear();
    store.setValue(QStringLiteral("path"), kept.path);
    QVariantMap details;
    for (auto detail = kept.details.cbegin(); detail != kept.details.cend(); ++detail)
        details.insert(detail.key(), detail.value());
    store.setValue(QStringLiteral("details"), details);
}

KeptPicture OwnPictureStore::load()
{
    const QSettings store(storePath(), SettingsFileFormat::format());
    KeptPicture kept{store.value(QStringLiteral("path")).toString(), {}};
    const QVariantMap details = store.value(QStringLiteral("details")).toMap();
    for (auto detail = details.cbegin(); detail != details.cend(); ++detail)
        kept.details.insert(detail.key(), detail.value().toString());
    return kept;
}
