#include "OwnPictureStore.h"

#include <QDir>
#include <QImage>
#include <QSaveFile>
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
    // A picture kept before stays until the new one is complete.
    QSaveFile file(copyPath());
    return file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
}

void OwnPictureStore::save(const KeptPicture &kept)
{
    QDir().mkpath(dataDirectory());
    QSettings store(storePath(), QSettings::IniFormat);
    store.clear();
    store.setValue(QStringLiteral("path"), kept.path);
    QVariantMap details;
    for (auto detail = kept.details.cbegin(); detail != kept.details.cend(); ++detail)
        details.insert(detail.key(), detail.value());
    store.setValue(QStringLiteral("details"), details);
}

KeptPicture OwnPictureStore::load()
{
    const QSettings store(storePath(), QSettings::IniFormat);
    KeptPicture kept{store.value(QStringLiteral("path")).toString(), {}};
    const QVariantMap details = store.value(QStringLiteral("details")).toMap();
    for (auto detail = details.cbegin(); detail != details.cend(); ++detail)
        kept.details.insert(detail.key(), detail.value().toString());
    return kept;
}
