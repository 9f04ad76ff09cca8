#include "CommandLine.h"
#include "DesktopIntegration.h"
#include "DesktopProgramSettings.h"
#include "ProgramIdentity.h"
#include "QtSingleApplication.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloDesktopSettingsWindow.h"

#include <QNetworkProxyFactory>

#include <cstdio>

namespace {
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
}

int main(int argc, char **argv)
{
    // Answered before anything starts: it needs no display and leaves a running
    // instance alone.
    const QString information = CommandLine::informationText(argumentsOf(argc, argv));
    if (!information.isEmpty()) {
        std::fputs(information.toLocal8Bit().constData(), stdout);
        return 0;
    }

    Q_INIT_RESOURCE(zintello);
    ProgramIdentity::apply(DesktopProgramSettings::applicationName);
    // No window of the program draws with OpenGL. Without this, Qt picks every
    // window's visual through OpenGL and so loads the system's OpenGL driver
    // (with Mesa: its LLVM compiler), some 30 MiB that the program carries from
    // log-in to log-out for nothing.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    // Windows, texts and pages keep their size on screens of high resolution.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    DesktopIntegration::useFailureSafeSettingsStore();

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

    // Users behind a proxy reach the update manifest and the pages' web content
    // through it, as their browser does. Process-wide, so set before anything networks.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    QApplication::setQuitOnLastWindowClosed(false);
    // Before the settings window, whose views start the engine.
    DesktopIntegration::quietWebEngineMemory();
    ZintelloDesktopBackgroundWidget::keepNoEngineCaches();
    // Lives until the process ends.
    auto *window = new ZintelloDesktopSettingsWindow;
    QObject::connect(&app, &QtSingleApplication::messageReceived,
                     window, &ZintelloDesktopSettingsWindow::receiveMultiInstanceMessage);
    DesktopIntegration::holdRunningMarker(QStringLiteral("de.morvaleen.zintello.innoMutex"));
    DesktopIntegration::quitApplicationWhenTheSessionEnds();
    return QApplication::exec();
}
