#ifndef GSETTINGSWALLPAPER_H
#define GSETTINGSWALLPAPER_H

#include "DesktopWallpaper.h"

#include <QStringList>

// The wallpaper of the desktops that keep it in GSettings (GNOME and those built
// on its settings, Cinnamon, MATE), reached through the gsettings tool so that a
// missing schema or session bus only makes the call fail. Each picture key is
// read and brought back on its own: GNOME's dark-style picture stays the user's.
class GsettingsWallpaper : public DesktopWallpaper
{
public:
    enum class ValueForm { Uri, Path };

    // The picture keys of a schema, the desktop's main picture first.
    GsettingsWallpaper(const QString &schema, const QStringList &keys, ValueForm form);

    static GsettingsWallpaper gnome();
    static GsettingsWallpaper cinnamon();
    static GsettingsWallpaper mate();

    QString current() const override;
    bool set(const QString &path) override;
    KeptPicture keep() const override;
    void restore(const KeptPicture &kept) override;

private:
    QString rawValue(const QString &key) const;
    void setRawValue(const QString &key, const QString &value) const;
    QString valueFor(const QString &path) const;

    QString schema;
    QStringList keys;
    ValueForm form;
};

#endif
