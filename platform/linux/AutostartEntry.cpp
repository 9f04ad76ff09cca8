#include "AutostartEntry.h"

#include "FileContentSave.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Values of type string in a Desktop Entry file escape these characters; for Exec
// this applies on top of the quoting of its arguments.
QString escapedValue(const QString &value)
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

} // namespace

QString AutostartEntry::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1String("/autostart/zintello.desktop");
}

bool AutostartEntry::write(const QString &programFilePath)
{
    return FileContentSave::replace(filePath(), contents(programFilePath, iconFor(programFilePath)));
}

void AutostartEntry::remove()
{
    QFile::remove(filePath());
}

QByteArray AutostartEntry::contents(const QString &programFilePath, const QString &icon)
{
    const QString text = QLatin1String("[Desktop Entry]\n"
                                       "Type=Application\n"
                                       "Name=ZINTELLO\n"
                                       "Exec=") + escapedValue(execArgument(programFilePath))
                         // Sessions skip the entry once the program is gone (uninstalled).
                         + QLatin1String("\nTryExec=") + escapedValue(programFilePath)
                         + QLatin1String("\nIcon=") + escapedValue(icon) + QLatin1Char('\n');
    return text.toUtf8();
}

QString AutostartEntry::execArgument(const QString &programFilePath)
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

QString AutostartEntry::iconFor(const QString &programFilePath)
{
    const QString besideProgram = QFileInfo(programFilePath).absolutePath()
                                  + QLatin1String("/zintello.svg");
    return QFileInfo::exists(besideProgram) ? besideProgram : QStringLiteral("zintello");
}
