#include "GsettingsWallpaper.h"

#include "DesktopTool.h"
#include "GnomeBackground.h"

#include <QUrl>

GsettingsWallpaper::GsettingsWallpaper(const QString &schema, const QStringList &keys, ValueForm form)
    : schema(schema)
    , keys(keys)
    , form(form)
{
}

GsettingsWallpaper GsettingsWallpaper::gnome()
{
    return GsettingsWallpaper(QStringLiteral("org.gnome.desktop.background"),
                              {QStringLiteral("picture-uri"), QStringLiteral("picture-uri-dark")},
                              ValueForm::Uri);
}

GsettingsWallpaper GsettingsWallpaper::cinnamon()
{
    return GsettingsWallpaper(QStringLiteral("org.cinnamon.desktop.background"),
                              {QStringLiteral("picture-uri")}, ValueForm::Uri);
}

GsettingsWallpaper GsettingsWallpaper::mate()
{
    return GsettingsWallpaper(QStringLiteral("org.mate.background"),
                              {QStringLiteral("picture-filename")}, ValueForm::Path);
}

QString GsettingsWallpaper::current() const
{
    return GnomeBackground::pathFromUri(GnomeBackground::unquotedValue(rawValue(keys.first())));
}

bool GsettingsWallpaper::set(const QString &path)
{
    const QString value = valueFor(path);
    for (const QString &key : keys)
        setRawValue(key, value);
    return true;
}

KeptPicture GsettingsWallpaper::keep() const
{
    KeptPicture kept{current(), {}};
    for (const QString &key : keys.mid(1)) {
        const QString value = rawValue(key);
        if (!value.isEmpty())
            kept.details.insert(key, value);
    }
    return kept;
}

void GsettingsWallpaper::restore(const KeptPicture &kept)
{
    const QString value = valueFor(kept.path);
    setRawValue(keys.first(), value);
    for (const QString &key : keys.mid(1))
        setRawValue(key, kept.details.value(key, value));
}

QString GsettingsWallpaper::rawValue(const QString &key) const
{
    return DesktopTool::output(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
}

void GsettingsWallpaper::setRawValue(const QString &key, const QString &value) const
{
    DesktopTool::run(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, key, value});
}

QString GsettingsWallpaper::valueFor(const QString &path) const
{
    return GnomeBackground::quotedValue(form == ValueForm::Uri
                                            ? QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)
                                            : path);
}
