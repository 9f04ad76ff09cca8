#ifndef SAVERPROGRAMRUN_H
#define SAVERPROGRAMRUN_H

#include <QColor>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "X11Desktop.h"

// One run of the real ZINTELLO.scr inside the test session and its windows; the
// screen's pixels and the pointer are X11Desktop's.
// The run is killed when it goes out of scope if it still runs.
class SaverProgramRun
{
public:
    // The built program in the build's program directory, with the real pages.
    SaverProgramRun();
    // A copy of the program in its own program directory whose html/ holds the
    // given pages (file name -> content), since the program loads its pages from
    // beside itself.
    explicit SaverProgramRun(const QList<QPair<QString, QByteArray>> &pages);
    ~SaverProgramRun();

    QString program() const { return m_program; }
    QProcess &process() { return m_process; }
    void start(const QStringList &arguments);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // Waits (generously) for the program to end; false if it does not.
    bool waitForExit(int timeoutMs = 30000);

    // Visible top-level windows of this run, optionally only those with this title.
    QList<X11Desktop::WindowId> visibleWindows(const QString &title = QString()) const;
    // Waits for the first visible window (with that title) and returns its id, or 0.
    X11Desktop::WindowId waitForWindow(const QString &title = QString(), int timeoutMs = 30000) const;

    // A page that shows, in its background colour, what input reached it:
    // red and green are the pointer position of the last move (modulo 256),
    // blue is 200 at first, 71 / 72 after a wheel turn up / down.
    static QByteArray inputEchoPage();
    static QColor inputEchoColour(const QPoint &pointer, int blue);

private:
    QTemporaryDir m_dir;
    QString m_program;
    QProcess m_process;
};

#endif
