#include "DesktopEntry.h"

QString DesktopEntry::escapedValue(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': escaped += QLatin1String("\\\\"); break;
        case '\n': escaped += QLatin1String("\\n"); break;
        case '\t': escaped += QLatin1String("\\t"); break;
        case '\r': escaped += QLatin1String("\\r"); break;
        default: escaped += c;
        }
    }
    if (escaped.startsWith(QLatin1Char(' ')))
        escaped.replace(0, 1, QLatin1String("\\s"));
    return escaped;
}

QString DesktopEntry::execArgument(const QString &programFilePath)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument;
    bool needsQuotes = false;
    for (const QChar c : programFilePath) {
        if (reserved.contains(c))
            needsQuotes = true;
        // Inside quotes these four keep their meaning unless escaped.
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
            || c == QLatin1Char('\\'))
            argument += QLatin1Char('\\');
        // '%' starts a field code everywhere, quoted or not.
        if (c == QLatin1Char('%'))
            argument += QLatin1Char('%');
        argument += c;
    }
    return needsQuotes ? QLatin1Char('"') + argument + QLatin1Char('"') : argument;
}
