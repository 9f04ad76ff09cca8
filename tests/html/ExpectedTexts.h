#ifndef EXPECTEDTEXTS_H
#define EXPECTEDTEXTS_H

#include <QHash>
#include <QStringList>

// What a reader of each language should see, written down independently of the
// pages' own tables.
namespace ExpectedTexts {

inline QStringList greetings(const QString &language)
{
    static const QHash<QString, QStringList> table {
        { "en", { "Good morning", "Good afternoon", "Good evening", "Good night" } },
        { "de", { "Guten Morgen", "Guten Tag", "Guten Abend", "Gute Nacht" } },
        { "fr", { "Bonjour", "Bon après-midi", "Bonsoir", "Bonne nuit" } },
        { "es", { "Buenos días", "Buenas tardes", "Buenas noches" } },
    };
    return table.value(language);
}

inline QStringList weekdays(const QString &language)
{
    static const QHash<QString, QStringList> table {
        { "en", { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday" } },
        { "de", { "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag" } },
        { "fr", { "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche" } },
        { "es", { "lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo" } },
    };
    return table.value(language);
}

inline QString languageHeading(const QString &language)
{
    static const QHash<QString, QString> table {
        { "en", "Language" }, { "de", "Sprache" }, { "fr", "Langue" }, { "es", "Idioma" },
    };
    return table.value(language);
}

inline QStringList languages()
{
    return { "en", "de", "fr", "es" };
}

}

#endif
