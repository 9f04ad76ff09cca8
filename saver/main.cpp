#include "SaverCommandLine.h"
#include "ScreenSaverModes.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Morvaleen"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("morvaleen.de"));
    QCoreApplication::setApplicationName(QStringLiteral("ZintelloSaver"));
    // No window of the screensaver draws with OpenGL: without this, Qt picks the
    // windows' visuals through OpenGL and so loads the system's OpenGL driver,
    // which costs memory and start-up time.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);

    QApplication app(argc, argv);

    const QStringList arguments = QCoreApplication::arguments();
    const SaverCommandLine commandLine(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    if (!commandLine.isAccepted()) {
        ScreenSaverModes::reportRejectedCommandLine(arguments);
        return -1;
    }

    // Made in every mode, before the mode is looked at; shown only in the show mode.
    auto *pageWindow = new ZintelloDesktopBackgroundWidget(nullptr);
    pageWindow->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(pageWindow, SIGNAL(destroyed()), &app, SLOT(quit()));

    switch (commandLine.mode()) {
    case SaverCommandLine::Show:
        ScreenSaverModes::show(&app, pageWindow);
        break;
    case SaverCommandLine::InWindow:
        ScreenSaverModes::showInWindow(pageWindow, commandLine.windowId());
        break;
    case SaverCommandLine::Configure:
        ScreenSaverModes::configure(&app);
        break;
    case SaverCommandLine::Preview:
        // Windows gives a preview window; this screensaver draws nothing in it.
        return 0;
    }
    return QApplication::exec();
}
