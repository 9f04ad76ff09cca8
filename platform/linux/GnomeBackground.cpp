#include "GnomeBackground.h"

#include <QStringList>
#include <QUrl>

bool GnomeBackground::isGnomeFamily(const QString &currentDesktop)
{
    // A colon-separated list such as "ubuntu:GNOME", "Budgie:GNOME" or
    // "GNOME-Flashback:GNOME".
    static const QStringList family = {QStringLiteral("Unity"), QStringLiteral("Budgie"),
                                       QStringLiteral("Pantheon")};
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &name : names) {
        if (name.contains(QLatin1String("GNOME"), Qt::CaseInsensitive)
            || family.contains(name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString GnomeBackground::quotedValue(const QString &text)
{
    QString quoted = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('\'');
}

QString GnomeBackground::unquotedValue(const QString &value)
{
    if (value.size() < 2)
        return QString();
    const QChar quote = value.at(0);
    if ((quote != QLatin1Char('\'') && quote != QLatin1Char('"')) || !value.endsWith(quote))
        return QString();
    QString text;
    for (int i = 1; i < value.size() - 1; ++i) {
        QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= value.size() - 1) {
            text += c;
            continue;
        }
        c = value.at(++i);
        switch (c.unicode()) {
        case 'n': text += QLatin1Char('\n'); break;
        case 't': text += QLatin1Char('\t'); break;
        case 'r': text += QLatin1Char('\r'); break;
        case 'f': text += QLatin1Char('\f'); break;
        case 'v': text += QLatin1Char('\v'); break;
        case 'a': text += QLatin1Char('\a'); break;
        case 'b': text += QLatin1Char('\b'); break;
        case 'u':
        case 'U': {
            const int digits = c == QLatin1Char('u') ? 4 : 8;
            bool ok = false;
            const uint code = value.mid(i + 1, digits).toUInt(&ok, 16);
            if (ok && i + digits < value.size() - 1) {
                const char32_t character = code;
                text += QString::fromUcs4(&character, 1);
                i += digits;
            } else {
                text += c;
            }
            break;
        }
        default: text += c;   // \\, \' and \" stand for themselves
        }
    }
    return text;
}

QString GnomeBackground::pathFromUri(const QString &uri)
{
    QUrl url(uri, QUrl::StrictMode);
    if (url.isValid() && url.isLocalFile()) {
        // Qt makes a host part a network path; for GLib "localhost" is this machine.
        if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            url.setHost(QString());
        return url.host().isEmpty() ? url.toLocalFile() : QString();
    }
    // Older settings hold a plain path.
    if (uri.startsWith(QLatin1Char('/')))
        return uri;
    return QString();
}
