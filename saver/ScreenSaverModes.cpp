#include "ScreenSaverModes.h"

#include "BlackWidget.h"
#include "ClockJumps.h"
#include "DesktopIntegration.h"
#include "SaverCommandLine.h"
#include "ScreenSaverEventFilter.h"
#include "ZintelloDesktopBackgroundWidget.h"
#include "ZintelloSaverSettings.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>
#include <QScreen>
#include <QWebView>

namespace {
void quitWhenDestroyed(QWidget *window, const ScreenSaverModes::Quit &quit)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &QObject::destroyed, quit);
}
}

void ScreenSaverModes::cover(QScreen *screen, const Quit &quit)
{
    auto *cover = new BlackWidget;
    cover->setWindowFlags(Qt::FramelessWindowHint);
    cover->setGeometry(screen->geometry());
    quitWhenDestroyed(cover, quit);
    new ScreenSaverEventFilter(cover);
    DesktopIntegration::prepareScreenSaverWindow(cover, screen);
    cover->setVisible(true);
}

ZintelloDesktopBackgroundWidget *ScreenSaverModes::makePageWindow(const Quit &quit)
{
    auto *pageWindow = new ZintelloDesktopBackgroundWidget(nullptr);
    quitWhenDestroyed(pageWindow, quit);
    return pageWindow;
}

void ScreenSaverModes::show(const Quit &quit, ZintelloDesktopBackgroundWidget *pageWindow)
{
    // Never restored: the pointer stays hidden until the program ends.
    QApplication::setOverrideCursor(QCursor(Qt::BlankCursor));

    new ScreenSaverEventFilter(pageWindow);
    new ScreenSaverEventFilter(pageWindow->webView);
    // Where context menus open on the button press (X11) or with the menu key,
    // the view's menu would run its own event loop right after the press has
    // closed the window, and the program would not end until the menu goes.
    pageWindow->webView->setContextMenuPolicy(Qt::NoContextMenu);
    QObject::connect(new ClockJumps(pageWindow), &ClockJumps::jumped,
            pageWindow, &ZintelloDesktopBackgroundWidget::showTheTimeAgain);

    // The page goes on the primary screen, wherever that is in the list of
    // screens; every other screen gets a cover.
    QScreen *pageScreen = QGuiApplication::primaryScreen();
    qDebug() << QGuiApplication::screens().size();
    for (int i = 0; i < QGuiApplication::screens().size(); ++i) {
        QScreen *screen = QGuiApplication::screens().at(i);
        if (screen == pageScreen)
            continue;
        qDebug() << screen->geometry();
        cover(screen, quit);
    }
    // A screen plugged in during the show is covered too.
    QObject::connect(qApp, &QGuiApplication::screenAdded, pageWindow,
                     [quit](QScreen *screen) { cover(screen, quit); });

    // Placed first: the window manager makes a window full screen on the screen
    // it lies on, and without a window manager this geometry is the full screen.
    pageWindow->setGeometry(pageScreen->geometry());
    DesktopIntegration::prepareScreenSaverWindow(pageWindow, pageScreen);
    pageWindow->showFullScreen();
    // Key presses reach only the focused window; not every desktop hands the
    // focus to a new full-screen window.
    pageWindow->raise();
    pageWindow->activateWindow();
}

void ScreenSaverModes::showInWindow(ZintelloDesktopBackgroundWidget *pageWindow, qulonglong windowId)
{
    DesktopIntegration::quitApplicationWhenTheSessionEnds();
    pageWindow->setFocusPolicy(Qt::NoFocus);
    pageWindow->webView->setFocusPolicy(Qt::NoFocus);
    pageWindow->webView->setContextMenuPolicy(Qt::NoContextMenu);
    pageWindow->webView->setAttribute(Qt::WA_TransparentForMouseEvents);
    DesktopIntegration::showInsideWindow(pageWindow, windowId);
    // The page is laid out for a screen: a preview shows it as a whole, smaller.
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    if (pageWindow->width() > 0 && pageWindow->width() < screenWidth)
        pageWindow->webView->setZoomFactor(qreal(pageWindow->width()) / screenWidth);
}

ZintelloSaverSettings *ScreenSaverModes::configure(const Quit &quit)
{
    auto *dialog = new ZintelloSaverSettings;
    dialog->setWindowFlags(dialog->windowFlags() & ~Qt::WindowContextHelpButtonHint);
    quitWhenDestroyed(dialog, quit);
    dialog->show();
    return dialog;
}

void ScreenSaverModes::reportRejectedCommandLine(const QStringList &arguments)
{
    QMessageBox::critical(nullptr, QCoreApplication::translate("ScreenSaverModes", "ScreenSaver error"),
                          SaverCommandLine::rejectionMessage(arguments), QMessageBox::Ok);
}
