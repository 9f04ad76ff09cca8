#ifndef SAVERCOMMANDLINE_H
#define SAVERCOMMANDLINE_H

#include <QString>
#include <QStringList>

// The switches with which Windows (or a user, or the desktop program) starts
// the screensaver. Only the second character of an argument decides, so /s, -s
// and xs are the same switch; the last switch examined wins. A preview handle
// is only checked for being a number, never used.
class SaverCommandLine
{
public:
    enum Mode { Show, Configure, Preview, InWindow };

    // arguments: the whole argument list, program name first; saverWindow: the
    // value of XSCREENSAVER_WINDOW, empty when it is not set.
    explicit SaverCommandLine(const QStringList &arguments, const QString &saverWindow = QString());

    Mode mode() const { return m_mode; }
    bool isAccepted() const { return m_accepted; }
    // In the InWindow mode: the X window to show the page in; 0 for the root window.
    qulonglong windowId() const { return m_windowId; }

    // The text that answers "--help", "-h" or "--version" anywhere on the command
    // line; empty when nothing of the kind is asked. Asked before the switches.
    static QString informationText(const QStringList &arguments);

    // The text of the error box for a command line that is not accepted: every
    // argument, program name first, on its own line.
    static QString rejectionMessage(const QStringList &arguments);

private:
    static bool isWindowHandle(const QString &text);
    // Decimal or, as XScreenSaver writes it, hexadecimal with 0x; 0 when neither.
    static qulonglong xWindowId(const QString &text);

    Mode m_mode = Configure;
    bool m_accepted = false;
    qulonglong m_windowId = 0;
};

#endif
