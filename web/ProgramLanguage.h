#ifndef PROGRAMLANGUAGE_H
#define PROGRAMLANGUAGE_H

#include <QList>
#include <QString>

class QNetworkCookie;

// The one language of a program: its windows' own texts, Qt's standard texts
// and the language the pages take when no cookie names one all follow the
// "language" cookie that the settings page sets, and the system's language
// until there is one.
class ProgramLanguage
{
public:
    // The language that the cookies name, when the program speaks it; empty otherwise.
    static QString chosenIn(const QList<QNetworkCookie> &cookies);
    // The same for the cookies kept in the program's settings store.
    static QString stored();

    // Switches the program to the language (empty: the system's). Qt tells every
    // widget with a LanguageChange event.
    static void apply(const QString &language);
    // The language that apply() last switched to.
    static QString current();

private:
    ProgramLanguage() = delete;
};

#endif
