#include "ZintelloDesktopSettingsWindow.h"

#include "DesktopProgramSettings.h"
#include "ui_ZintelloDesktopSettingsWindow.h"

#include "ClockJumps.h"
#include "DesignWallpaper.h"
#include "DesktopIntegration.h"
#include "ProgramLanguage.h"
#include "SaveNetworkCookieJar.h"
#include "ScreenBackgrounds.h"
#include "ScreensaverIdleStart.h"
#include "SettingsStore.h"
#include "WallpaperBackdrop.h"
#include "UpdateChecker.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWebPage>

namespace {
QString programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString storedDesignNumber()
{
    return QSettings().value(DesktopProgramSettings::designNumberKey, DesktopProgramSettings::designNumberDefault).toString();
}
}

ZintelloDesktopSettingsWindow::ZintelloDesktopSettingsWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui_ZintelloDesktopSettingsWindow)
{
    ui->setupUi(this);
    fitTextsToTheirControls();
    ui->settingsTab->setStyleSheet(QStringLiteral("background-color: rgb(237, 237, 237);"));
    ui->aboutView->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    connect(ui->aboutView->page(), &QWebPage::linkClicked, this, &ZintelloDesktopSettingsWindow::linkClicked);
    connect(ui->openSaverSettings, &QPushButton::clicked, this, &ZintelloDesktopSettingsWindow::openScrennsaverSettings);

    cookieJar = new SaveNetworkCookieJar(this);
    ui->settings->page()->networkAccessManager()->setCookieJar(cookieJar);
    connect(cookieJar, &SaveNetworkCookieJar::cookiesChanges, this, &ZintelloDesktopSettingsWindow::pageReload);
    connect(cookieJar, &SaveNetworkCookieJar::changedToDesign, this, &ZintelloDesktopSettingsWindow::onChangedToDesign);
    // The cookie is stored only after the jar has told of it.
    connect(cookieJar, &SaveNetworkCookieJar::cookiesChanges, this, [this] {
        QTimer::singleShot(0, this, &ZintelloDesktopSettingsWindow::followLanguageChoice);
    });
    followLanguageChoice();
    // Cookies set after the last close of this window would be lost otherwise.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &ZintelloDesktopSettingsWindow::saveCookies);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &ZintelloDesktopSettingsWindow::saveCookies);
    connect(cookieJar, &SaveNetworkCookieJar::saveFailed, this, [this] { noteSave(false); });

    readSettings();
    createActions();
    createTrayIcon();
    connect(trayIcon, &QSystemTrayIcon::activated, this, &ZintelloDesktopSettingsWindow::iconActivated);
    checkFirstStart();
    createBackground();
    createScreensaverIdleStart();
    trayIcon->setVisible(true);
    (new UpdateChecker(this))->checkForUpdates();
}

ZintelloDesktopSettingsWindow::~ZintelloDesktopSettingsWindow()
{
    saveCookies();
    // The backgrounds go first: their pages must not outlive the jar they use.
    delete backgroundWidget;
    delete screenBackgrounds;
    delete cookieJar;
    delete ui;
}

void ZintelloDesktopSettingsWindow::receiveMultiInstanceMessage(const QString &message)
{
    if (message == QLatin1String("Quit")) {
        QCoreApplication::quit();
    } else {
        showNormal();
        // Whoever started the program again wants to see the window, also when
        // other windows cover it.
        DesktopIntegration::bringToFront(this);
    }
}

void ZintelloDesktopSettingsWindow::closeEvent(QCloseEvent *event)
{
    saveCookies();
    setVisible(false);
    event->ignore();
}

void ZintelloDesktopSettingsWindow::showEvent(QShowEvent *event)
{
    // Most users open this window seldom: its two pages are not held all day
    // for it, they load when it is first shown.
    if (!pagesRequested) {
        pagesRequested = true;
        ui->settings->load(QUrl::fromLocalFile(programDir() + QStringLiteral("/html/settings.html")));
        ui->aboutView->load(QUrl::fromLocalFile(programDir() + QStringLiteral("/html/about.html")));
    }
    QMainWindow::showEvent(event);
}

void ZintelloDesktopSettingsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        fitTextsToTheirControls();
        settingsAction->setText(tr("&Settings"));
        quitAction->setText(tr("&Quit"));
        // The about page takes the program's language when it loads.
        ui->aboutView->reload();
    }
    QMainWindow::changeEvent(event);
}

void ZintelloDesktopSettingsWindow::followLanguageChoice()
{
    if (!cookieJar)
        return;
    const QUrl settingsPage = QUrl::fromLocalFile(programDir() + QStringLiteral("/html/settings.html"));
    ProgramLanguage::apply(ProgramLanguage::chosenIn(cookieJar->cookiesForUrl(settingsPage)));
}

void ZintelloDesktopSettingsWindow::fitTextsToTheirControls()
{
    // The form's sizes fit the fonts it was drawn with; other fonts, sizes and
    // languages may need more room.
    const QList<QAbstractButton *> controls = ui->settingsTab->findChildren<QAbstractButton *>();
    for (QAbstractButton *control : controls)
        control->resize(control->size().expandedTo(control->sizeHint()));
    // The screensaver's minutes and their unit follow its check box's text.
    QWidget *minutes = ui->screensaverMinutes;
    minutes->move(qMax(minutes->x(), ui->screensaverStart->geometry().right() + 6), minutes->y());
    QWidget *unit = ui->screensaverMinutesUnit;
    unit->setGeometry(QRect(QPoint(qMax(unit->x(), minutes->geometry().right() + 9), unit->y()),
                            unit->size().expandedTo(unit->sizeHint())));
}

void ZintelloDesktopSettingsWindow::pageReload()
{
    if (backgroundWidget)
        backgroundWidget->reload();
    if (!screenBackgrounds)
        return;
    const QList<ZintelloDesktopBackgroundWidget *> others = screenBackgrounds->all();
    for (ZintelloDesktopBackgroundWidget *background : others) {
        if (background != backgroundWidget)
            background->reload();
    }
}

void ZintelloDesktopSettingsWindow::on_wallpaper_stateChanged(int state)
{
    storeSetting(DesktopProgramSettings::wallpaperKey, state);
    if (state != 0) {
        DesktopIntegration::restoreWallpaper(QSettings().value(DesktopProgramSettings::originalWallpaperKey).toString());
        paintWallpaperBehindBackgrounds();
    } else {
        storeSetting(DesktopProgramSettings::originalWallpaperKey, DesktopIntegration::keepWallpaper());
        onChangedToDesign(storedDesignNumber());
    }
    explainOwnImage();
}

void ZintelloDesktopSettingsWindow::on_login_stateChanged(int state)
{
    storeSetting(DesktopProgramSettings::loginKey, state);
    if (state != 0)
        noteSave(DesktopIntegration::writeAutostartEntry(QCoreApplication::applicationFilePath()));
    else
        DesktopIntegration::removeAutostartEntry();
}

void ZintelloDesktopSettingsWindow::onChangedToDesign(QString number)
{
    storeSetting(DesktopProgramSettings::designNumberKey, number);
    showDesignWallpaper(number);
}

void ZintelloDesktopSettingsWindow::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::Trigger:
        showNormal();
        break;
    default:
        break;
    }
}

void ZintelloDesktopSettingsWindow::showTrayMessage()
{
    trayIcon->showMessage(QStringLiteral("ZINTELLO"),
                          tr("Click on the icon to open the settings and change the design or the language"),
                          QSystemTrayIcon::NoIcon, 10000);
}

void ZintelloDesktopSettingsWindow::showNoBackgroundMessage()
{
    trayIcon->showMessage(QStringLiteral("ZINTELLO"),
                          tr("This desktop cannot keep the live background below your windows, so it is not shown. "
                             "The wallpaper, the settings and the screensaver work as usual."),
                          QSystemTrayIcon::NoIcon, 10000);
}

void ZintelloDesktopSettingsWindow::linkClicked(QUrl url)
{
    QDesktopServices::openUrl(url);
}

void ZintelloDesktopSettingsWindow::openScrennsaverSettings()
{
    ScreensaverIdleStart::startScreensaver(QStringLiteral("/c"), this);
}

void ZintelloDesktopSettingsWindow::on_screensaverStart_toggled(bool on)
{
    ui->screensaverMinutes->setEnabled(on);
    ScreensaverIdleStart::storeMinutes(on ? ui->screensaverMinutes->value() : 0);
    if (screensaverIdleStart)
        screensaverIdleStart->look();
}

void ZintelloDesktopSettingsWindow::on_screensaverMinutes_valueChanged(int minutes)
{
    if (!ui->screensaverStart->isChecked())
        return;
    ScreensaverIdleStart::storeMinutes(minutes);
    if (screensaverIdleStart)
        screensaverIdleStart->look();
}

void ZintelloDesktopSettingsWindow::createActions()
{
    settingsAction = new QAction(tr("&Settings"), this);
    connect(settingsAction, &QAction::triggered, this, &QWidget::showNormal);
    quitAction = new QAction(tr("&Quit"), this);
    connect(quitAction, &QAction::triggered, qApp, &QCoreApplication::quit);
}

void ZintelloDesktopSettingsWindow::createTrayIcon()
{
    trayIconMenu = new QMenu(this);
    trayIconMenu->addAction(settingsAction);
    trayIconMenu->addSeparator();
    trayIconMenu->addAction(quitAction);

    trayIcon = new QSystemTrayIcon(this);
    trayIcon->setContextMenu(trayIconMenu);
    const QIcon icon(QStringLiteral(":/images/icon.ico"));
    trayIcon->setIcon(icon);
    setWindowIcon(icon);
    trayIcon->setToolTip(QStringLiteral("ZINTELLO"));
}

void ZintelloDesktopSettingsWindow::checkFirstStart()
{
    if (!QSettings().value(DesktopProgramSettings::firstStartKey, DesktopProgramSettings::firstStartDefault).toBool())
        return;
    on_login_stateChanged(1);
    on_wallpaper_stateChanged(0);
    QTimer::singleShot(2000, this, &ZintelloDesktopSettingsWindow::showTrayMessage);
    storeSetting(DesktopProgramSettings::firstStartKey, false);
}

void ZintelloDesktopSettingsWindow::createBackground()
{
    if (!DesktopIntegration::keepsDesktopWindowBelow()) {
        // After the first start's balloon has had its time, not in its place.
        QTimer::singleShot(13000, this, &ZintelloDesktopSettingsWindow::showNoBackgroundMessage);
        return;
    }
    backgroundWidget = makeBackground(QGuiApplication::primaryScreen());
    // Every further screen gets the same background, and the screens are followed.
    screenBackgrounds = new ScreenBackgrounds(backgroundWidget, [this](QScreen *screen) { return makeBackground(screen); },
                                              this);
    connect(screenBackgrounds, &ScreenBackgrounds::primaryScreenChanged,
            this, &ZintelloDesktopSettingsWindow::followPrimaryScreen);
    connect(screenBackgrounds, &ScreenBackgrounds::screensChanged,
            this, &ZintelloDesktopSettingsWindow::followScreens);
    connect(new ClockJumps(this), &ClockJumps::jumped, this, [this] {
        const QList<ZintelloDesktopBackgroundWidget *> backgrounds = screenBackgrounds->all();
        for (ZintelloDesktopBackgroundWidget *background : backgrounds)
            background->showTheTimeAgain();
    });
}

ZintelloDesktopBackgroundWidget *ZintelloDesktopSettingsWindow::makeBackground(QScreen *screen)
{
    auto *background = new ZintelloDesktopBackgroundWidget(cookieJar, nullptr);
    // The background's page manager is now the jar's parent; the jar must outlive
    // a background that the window manager closes, as the settings view uses it.
    cookieJar->setParent(this);
    background->setAttribute(Qt::WA_DeleteOnClose);
    background->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    background->setAttribute(Qt::WA_TranslucentBackground);
    background->setAttribute(Qt::WA_TransparentForMouseEvents);
    DesktopIntegration::prepareDesktopWindowOn(background, screen);
    WallpaperBackdrop::paintBehind(background);
    background->showFullScreen();
    return background;
}

void ZintelloDesktopSettingsWindow::followPrimaryScreen()
{
    backgroundWidget = screenBackgrounds->onPrimaryScreen();
}

void ZintelloDesktopSettingsWindow::followScreens()
{
    // Each screen's shape decides which of the design's bitmaps fits it, or the
    // primary screen's where the desktop shows one picture everywhere.
    showDesignWallpaper(storedDesignNumber());
}

void ZintelloDesktopSettingsWindow::createScreensaverIdleStart()
{
    screensaverIdleStart = new ScreensaverIdleStart(this);
    if (screensaverIdleStart->isPossible())
        return;
    ui->screensaverStart->setEnabled(false);
    ui->screensaverMinutes->setEnabled(false);
    ui->screensaverStartUnavailable->setVisible(true);
}

void ZintelloDesktopSettingsWindow::readSettings()
{
    QSettings settings;
    ui->login->setChecked(settings.value(DesktopProgramSettings::loginKey, DesktopProgramSettings::loginDefault).toBool());
    ui->wallpaper->setChecked(settings.value(DesktopProgramSettings::wallpaperKey, DesktopProgramSettings::wallpaperDefault).toBool());
    // Shown as stored, not stored again: an "off" keeps the last number to offer.
    const QSignalBlocker startBlocker(ui->screensaverStart);
    const QSignalBlocker minutesBlocker(ui->screensaverMinutes);
    const int minutes = ScreensaverIdleStart::storedMinutes();
    ui->screensaverStart->setChecked(minutes > 0);
    ui->screensaverMinutes->setEnabled(minutes > 0);
    if (minutes > 0)
        ui->screensaverMinutes->setValue(minutes);
    explainOwnImage();
}

void ZintelloDesktopSettingsWindow::explainOwnImage()
{
    // Where the desktop could not name its picture nor show one to copy, the
    // check box cannot bring it back: it says so rather than leave the user guessing.
    const bool known = !QSettings().value(DesktopProgramSettings::originalWallpaperKey).toString().isEmpty();
    ui->wallpaper->setToolTip(known ? QString()
                                    : tr("The desktop's own picture is not known: the design stays as the background."));
}

void ZintelloDesktopSettingsWindow::showDesignWallpaper(const QString &number)
{
    if (QSettings().value(DesktopProgramSettings::wallpaperKey, DesktopProgramSettings::wallpaperDefault).toBool())
        return;
    if (!DesignWallpaper::staysInsideWallpapers(number))
        return;
    const QString dir = programDir();
    noteSave(DesktopIntegration::setWallpaperPerScreen(
        [&](const QSize &screenSize) { return DesignWallpaper::pathFor(dir, number, screenSize); }));
    paintWallpaperBehindBackgrounds();
    // The desktop-sized pictures made on the way are gone; the allocator would
    // keep their memory for the rest of the day.
    DesktopIntegration::returnFreedMemory();
}

void ZintelloDesktopSettingsWindow::paintWallpaperBehindBackgrounds()
{
    if (!screenBackgrounds)
        return;
    const QList<ZintelloDesktopBackgroundWidget *> backgrounds = screenBackgrounds->all();
    for (ZintelloDesktopBackgroundWidget *background : backgrounds)
        WallpaperBackdrop::paintBehind(background);
}

void ZintelloDesktopSettingsWindow::saveCookies()
{
    if (cookieJar)
        noteSave(cookieJar->saveCookies());
}

void ZintelloDesktopSettingsWindow::storeSetting(const QString &key, const QVariant &value)
{
    noteSave(SettingsStore::set(key, value));
}

void ZintelloDesktopSettingsWindow::noteSave(bool saved)
{
    if (saved || saveFailureReported)
        return;
    saveFailureReported = true;
    // Saves fail from the constructor on, before the tray icon is there.
    QMetaObject::invokeMethod(this, &ZintelloDesktopSettingsWindow::showSaveFailure, Qt::QueuedConnection);
}

void ZintelloDesktopSettingsWindow::showSaveFailure()
{
    trayIcon->showMessage(QStringLiteral("ZINTELLO"),
                          tr("Your settings could not be saved (is the disk full?). ZINTELLO tries again at the next change."),
                          QSystemTrayIcon::Warning, 10000);
}
