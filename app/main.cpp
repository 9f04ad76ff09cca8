#include "CommandLine.h"
#include "DesktopIntegration.h"
#include "QtSingleApplication.h"
#include "ZintelloDesktopSettingsWindow.h"

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(zintello);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvaleen"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("morvaleen.de"));
    QCoreApplication::setApplicationName(QStringLiteral("Zintello"));
    // No window of the program draws with OpenGL. Without this, Qt picks every
    // window's visual through OpenGL and so loads the system's OpenGL driver
    // (with Mesa: its LLVM compiler), some 30 MiB that the program carries from
    // log-in to log-out for nothing.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);

    DesktopIntegration::prepareApplicationStart(QStringLiteral("ZINTELLO"));
    QtSingleApplication app(argc, argv, true);
    DesktopIntegration::applicationStarted();

    const bool quitRequested = CommandLine::asksToQuit(QCoreApplication::arguments());
    if (app.isRunning()) {
        app.sendMessage(quitRequested ? QStringLiteral("Quit") : QStringLiteral("Running"), 5000);
        return 0;
    }
    if (quitRequested)
        return 0;

    QApplication::setQuitOnLastWindowClosed(false);
    // Lives until the process ends.
    auto *window = new ZintelloDesktopSettingsWindow;
    QObject::connect(&app, &QtSingleApplication::messageReceived,
                     window, &ZintelloDesktopSettingsWindow::receiveMultiInstanceMessage);
    DesktopIntegration::holdRunningMarker(QStringLiteral("de.morvaleen.zintello.innoMutex"));
    DesktopIntegration::quitApplicationWhenTheSessionEnds();
    return QApplication::exec();
}
