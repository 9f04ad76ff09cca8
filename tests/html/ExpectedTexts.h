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

// The settings page's line under its heading: the desktop's changes at once,
// the screensaver's at its next start.
inline QString designIntro(const QString &language, bool screensaver)
{
    static const QHash<QString, QStringList> table {
        { "en", { "Pick the look of your desktop. It changes at once.",
                  "Pick the look of your screensaver. It shows the next time it starts." } },
        { "de", { "Wählen Sie das Aussehen Ihres Desktops. Es ändert sich sofort.",
                  "Wählen Sie das Aussehen Ihres Bildschirmschoners. Er zeigt es beim nächsten Start." } },
        { "fr", { "Choisissez l’allure de votre bureau. Elle change aussitôt.",
                  "Choisissez l’allure de votre économiseur d’écran. Il la montrera à son prochain démarrage." } },
        { "es", { "Elija el aspecto de su escritorio. Cambia al instante.",
                  "Elija el aspecto de su salvapantallas. Se verá la próxima vez que se inicie." } },
    };
    return table.value(language).value(screensaver ? 1 : 0);
}

inline QStringList languages()
{
    return { "en", "de", "fr", "es" };
}

}

#endif
