#include "SettingsStore.h"

#include <QSettings>

bool SettingsStore::set(const QString &key, const QVariant &value)
{
    QSettings settings;
    if (settings.contains(key) && settings.value(key) == value)
        return true;
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
