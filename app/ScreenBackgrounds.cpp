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
    QScreen *primaryScreen = QGuiApplication::primaryScreen();
    backgrounds.insert(primaryScreen, primary);
    connect(primaryScreen, &QScreen::geometryChanged, this, [this, primaryScreen] { followScreen(primaryScreen); });
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (screen != primaryScreen)
            addScreen(screen);
    }
    connect(qApp, &QGuiApplication::screenAdded, this, &ScreenBackgrounds::addScreen);
    connect(qApp, &QGuiApplication::screenRemoved, this, &ScreenBackgrounds::removeScreen);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &ScreenBackgrounds::primaryScreenChanged);
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
}

void ScreenBackgrounds::removeScreen(QScreen *screen)
{
    delete backgrounds.take(screen);
    // What the engine kept of the page (its script heap, cached resources)
    // goes too, rather than staying with the program all day.
    QWebSettings::clearMemoryCaches();
    DesktopIntegration::returnFreedMemory();
}

void ScreenBackgrounds::followScreen(QScreen *screen)
{
    ZintelloDesktopBackgroundWidget *background = backgrounds.value(screen);
    if (!background)
        return;
    background->setGeometry(screen->geometry());
    WallpaperBackdrop::paintBehind(background);
}
