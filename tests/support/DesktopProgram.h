#ifndef DESKTOPPROGRAM_H
#define DESKTOPPROGRAM_H

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include "X11Desktop.h"

// The real desktop program as a test drives it: started as a process of its own
// from a program directory, with the settings store of the test's session.
class DesktopProgram
{
public:
    // Runs the build's program directory as it stands.
    DesktopProgram();
    // Runs a copy of the program in a fresh temporary program directory whose
    // pages and Wallpapers/ are the build's.
    static DesktopProgram inTemporaryDirectory(const QString &namePattern = QStringLiteral("zintello program XXXXXX"));
    // Puts a page of the test's own into html/ of a temporary program directory.
    void writePage(const QString &name, const QByteArray &content) const;

    QString programDir() const;
    QString programFile() const;

    // Starts the program in the background; the process is killed with the object.
    QProcess &start(const QStringList &arguments = {});
    // Runs one more start to its end and gives its exit code (-2 on time-out).
    int runToEnd(const QStringList &arguments, int timeoutMs = 20000) const;

    // What a running program shows: the docked tray icon and the settings window
    // (0 when they did not appear in time).
    static X11Desktop::WindowId waitForTrayIcon();
    static X11Desktop::WindowId waitForSettingsWindow();
    static bool settingsWindowVisible();

    // The settings store of the desktop program, read straight from its file.
    static QVariant setting(const QString &key);
    static QString settingsFile();
    static void clearSettings();
    // The lock file an installer looks at.
    static QString runningMarkerFile();
    static bool runningMarkerHeld();

    ~DesktopProgram();
    DesktopProgram(DesktopProgram &&other);

private:
    explicit DesktopProgram(QTemporaryDir *ownDir);

    QTemporaryDir *ownDir = nullptr;
    QString dir;
    QList<QProcess *> processes;
};

#endif
