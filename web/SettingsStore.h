#ifndef SETTINGSSTORE_H
#define SETTINGSSTORE_H

#include <QString>
#include <QVariant>

// Changes to the program's settings store (QSettings()) that go to disk at once
// and only when the value differs from the stored one, so that a start that
// changes nothing writes nothing.
class SettingsStore
{
public:
    // false when the store could not be saved: it then keeps the change in
    // memory and saves it together with the next one.
    static bool set(const QString &key, const QVariant &value);

private:
    SettingsStore() = delete;
};

#endif
