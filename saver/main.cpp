#include "DesktopIntegration.h"
#include "ProgramIdentity.h"
#include "ProgramLanguage.h"
#include "SaverCommandLine.h"
#include "SaverProgramSettings.h"
#include "ScreenSaverModes.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    // Answered on the terminal before any window or display is needed.
    const QString information = SaverCommandLine::informationText(rawArguments);
    if (!information.isEmpty()) {
        std::fputs(information.toLocal8Bit().constData(), stdout);
        return 0;
    }

    ProgramIdentity::apply(SaverProgramSettings::applicationName);
    // No window of the screensaver draws with OpenGL: without this, Qt picks the
    // windows' visuals through OpenGL and so loads the system's OpenGL driver,
    // which costs memory and start-up time.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    DesktopIntegration::useFailureSafeSettingsStore();

    DesktopIntegration::prepareApplicationStart(QStringLiteral("ZINTELLO.scr"));
    QApplication app(argc, argv);
    DesktopIntegration::applicationStarted();
    // Its dialog and its error box speak the language chosen in its own pages.
    ProgramLanguage::apply(ProgramLanguage::stored());

    const QStringList arguments = QCoreApplication::arguments();
    const SaverCommandLine commandLine(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    if (!commandLine.isAccepted()) {
        ScreenSaverModes::reportRejectedCommandLine(arguments);
        return -1;
    }

    const ScreenSaverModes::Quit quit = [] { QCoreApplication::quit(); };
    // Shown only in the show mode.
    ZintelloDesktopBackgroundWidget *pageWindow = ScreenSaverModes::makePageWindow(quit);

    switch (commandLine.mode()) {
    case SaverCommandLine::Show:
        ScreenSaverModes::show(quit, pageWindow);
        break;
    case SaverCommandLine::InWindow:
        ScreenSaverModes::showInWindow(pageWindow, commandLine.windowId());
        break;
    case SaverCommandLine::Configure:
        ScreenSaverModes::configure(quit);
        break;
    case SaverCommandLine::Preview:
        // Windows gives a preview window; this screensaver draws nothing in it.
        return 0;
    }
    return QApplication::exec();
}
