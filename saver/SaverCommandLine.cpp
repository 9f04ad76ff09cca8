#include "SaverCommandLine.h"

#include "ZintelloVersion.h"

#include <QCoreApplication>

SaverCommandLine::SaverCommandLine(const QStringList &arguments, const QString &saverWindow)
    : m_accepted(arguments.size() <= 1)
{
    const qulonglong lockerWindow = xWindowId(saverWindow);
    if (arguments.size() <= 1 && lockerWindow != 0) {
        m_mode = InWindow;
        m_windowId = lockerWindow;
    }
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        // Whole words, so that no Windows switch changes its meaning: their
        // second letters (r, w, -) are none of the Windows switches. XScreenSaver
        // itself writes them with two dashes.
        if (argument == QLatin1String("-root") || argument == QLatin1String("--root")) {
            m_mode = InWindow;
            m_windowId = lockerWindow;
            m_accepted = true;
            continue;
        }
        if (argument == QLatin1String("-window-id") || argument == QLatin1String("--window-id")) {
            m_mode = InWindow;
            m_windowId = i + 1 < arguments.size() ? xWindowId(arguments.at(++i)) : 0;
            m_accepted = m_windowId != 0;
            continue;
        }
        // A one-character argument (such as a one-digit preview handle) ends the scan.
        if (argument.size() < 2)
            break;
        // Compared by code point, not case-folded: a character above U+00FF is
        // no switch even where its case mapping is a Latin letter.
        switch (argument.at(1).unicode()) {
        case 'S':
        case 's':
            m_mode = Show;
            m_accepted = true;
            break;
        case 'C':
        case 'c':
            m_mode = Configure;
            m_accepted = true;
            break;
        case 'P':
        case 'p':
            m_mode = Preview;
            if (argument.size() > 3 && argument.at(2) == QLatin1Char(':'))
                m_accepted = isWindowHandle(argument.mid(3));
            else if (i + 1 < arguments.size())
                // Not skipped: the handle is examined in its own turn as well.
                m_accepted = isWindowHandle(arguments.at(i + 1));
            break;
        default:
            break;
        }
    }
}

QString SaverCommandLine::informationText(const QStringList &arguments)
{
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
        return QStringLiteral(
            "Usage: ZINTELLO.scr [/s | /c | /p HANDLE | -root | -window-id ID]\n"
            "The ZINTELLO screensaver: the desktop's live page full screen.\n"
            "\n"
            "  /s         show it until the first key press, click or mouse move\n"
            "  /c         open its settings (also without any argument)\n"
            "  /p HANDLE  preview in a window given by the system (draws nothing)\n"
            "  -root      inside the screen locker's window ($XSCREENSAVER_WINDOW), else\n"
            "             on the root window\n"
            "  -window-id ID\n"
            "             inside that X window\n"
            "  -h, --help show this help and exit\n"
            "  --version  show the version and exit\n");
    }
    if (rest.contains(QLatin1String("--version")))
        return QStringLiteral("ZINTELLO.scr " ZINTELLO_VERSION "\n");
    return QString();
}

QString SaverCommandLine::rejectionMessage(const QStringList &arguments)
{
    return QCoreApplication::translate("SaverCommandLine", "Couldn't parse command line:") + QLatin1Char('\n')
           + arguments.join(QLatin1Char('\n'));
}

bool SaverCommandLine::isWindowHandle(const QString &text)
{
    bool isNumber = false;
    text.toUInt(&isNumber, 10);
    return isNumber;
}

qulonglong SaverCommandLine::xWindowId(const QString &text)
{
    bool isNumber = false;
    const qulonglong id = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
            ? text.midRef(2).toULongLong(&isNumber, 16)
            : text.toULongLong(&isNumber, 10);
    // X window ids have 29 bits.
    return isNumber && id <= 0x1fffffff ? id : 0;
}
