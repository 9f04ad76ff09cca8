#include "ScreenBackgrounds.h"

#include "DesktopIntegration.h"
#include "WallpaperBackdrop.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWebSettings>

ScreenBackgrounds::ScreenBackgrounds(ZintelloDesktopBackgroundWidget *primary, Maker make, QObject *parent)
    : QObject(parent)
    , make(std::move(make))
{
    // A new layout arrives as several changes in a row, each screen's own.
    settle.setSingleShot(true);
    settle.setInterval(100);
    connect(&settle, &QTimer::timeout, this, &ScreenBackgrounds::screensChanged);
    QScreen *primaryScreen = QGuiApplication::primaryScreen();
    backgrounds.insert(primaryScreen, primary);
    connect(primaryScreen, &QScreen::geometryChanged, this, [this, primaryScreen] { followScreen(primaryScreen); });
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (screen != primaryScreen)
            addScreen(screen);
    }
    // The screens as they are at start are no change.
    settle.stop();
    connect(qApp, &QGuiApplication::screenAdded, this, &ScreenBackgrounds::addScreen);
    connect(qApp, &QGuiApplication::screenRemoved, this, &ScreenBackgrounds::removeScreen);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &ScreenBackgrounds::primaryScreenChanged);
    connect(qApp, &QGuiApplication::primaryScreenChanged, &settle, qOverload<>(&QTimer::start));
}

ScreenBackgrounds::~ScreenBackgrounds()
{
    for (const QPointer<ZintelloDesktopBackgroundWidget> &background : qAsConst(backgrounds))
        delete background;
}

QList<ZintelloDesktopBackgroundWidget *> ScreenBackgrounds::all() const
{
    QList<ZintelloDesktopBackgroundWidget *> shown;
    for (const QPointer<ZintelloDesktopBackgroundWidget> &background : backgrounds) {
        if (background)
            shown.append(background);
    }
    return shown;
}

ZintelloDesktopBackgroundWidget *ScreenBackgrounds::onPrimaryScreen() const
{
    return backgrounds.value(QGuiApplication::primaryScreen());
}

void ScreenBackgrounds::addScreen(QScreen *screen)
{
    backgrounds.insert(screen, make(screen));
    connect(screen, &QScreen::geometryChanged, this, [this, screen] { followScreen(screen); });
    settle.start();
}

void ScreenBackgrounds::removeScreen(QScreen *screen)
{
    delete backgrounds.take(screen);
    // What the engine kept of the page (its script heap, cached resources)
    // goes too, rather than staying with the program all day.
    QWebSettings::clearMemoryCaches();
    DesktopIntegration::returnFreedMemory();
    settle.start();
}

void ScreenBackgrounds::followScreen(QScreen *screen)
{
    settle.start();
    ZintelloDesktopBackgroundWidget *background = backgrounds.value(screen);
    if (!background)
        return;
    background->setGeometry(screen->geometry());
    WallpaperBackdrop::paintBehind(background);
}
