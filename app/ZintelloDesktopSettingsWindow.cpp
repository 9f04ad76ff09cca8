#include "ZintelloDesktopSettingsWindow.h"
#include "ui_ZintelloDesktopSettingsWindow.h"

#include "DesignWallpaper.h"
#include "DesktopIntegration.h"
#include "SaveNetworkCookieJar.h"
#include "ScreensaverIdleStart.h"
#include "WallpaperBackdrop.h"
#include "UpdateChecker.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWebPage>

namespace {
QString programDir()
{
    return QCoreApplication::applicationDirPath();
}
}

ZintelloDesktopSettingsWindow::ZintelloDesktopSettingsWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui_ZintelloDesktopSettingsWindow)
{
    ui->setupUi(this);
    ui->settingsTab->setStyleSheet(QStringLiteral("background-color: rgb(237, 237, 237);"));
    ui->settings->load(QUrl::fromLocalFile(programDir() + QStringLiteral("/html/settings.html")));
    ui->aboutView->load(QUrl::fromLocalFile(programDir() + QStringLiteral("/html/about.html")));
    ui->aboutView->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    connect(ui->aboutView->page(), &QWebPage::linkClicked, this, &ZintelloDesktopSettingsWindow::linkClicked);
    connect(ui->openSaverSettings, &QPushButton::clicked, this, &ZintelloDesktopSettingsWindow::openScrennsaverSettings);

    cookieJar = new SaveNetworkCookieJar(this);
    ui->settings->page()->networkAccessManager()->setCookieJar(cookieJar);
    ui->settings->reload();
    connect(cookieJar, &SaveNetworkCookieJar::cookiesChanges, this, &ZintelloDesktopSettingsWindow::pageReload);
    connect(cookieJar, &SaveNetworkCookieJar::changedToDesign, this, &ZintelloDesktopSettingsWindow::onChangedToDesign);
    // Cookies set after the last close of this window would be lost otherwise.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &ZintelloDesktopSettingsWindow::saveCookies);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &ZintelloDesktopSettingsWindow::saveCookies);

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
    // The background goes first: its page must not outlive the jar it uses.
    delete backgroundWidget;
    delete cookieJar;
    delete ui;
}

void ZintelloDesktopSettingsWindow::receiveMultiInstanceMessage(const QString &message)
{
    if (message == QLatin1String("Quit"))
        QCoreApplication::quit();
    else
        showNormal();
}

void ZintelloDesktopSettingsWindow::closeEvent(QCloseEvent *event)
{
    saveCookies();
    setVisible(false);
    event->ignore();
}

void ZintelloDesktopSettingsWindow::pageReload()
{
    if (backgroundWidget)
        backgroundWidget->reload();
}

void ZintelloDesktopSettingsWindow::on_wallpaper_stateChanged(int state)
{
    QSettings().setValue(QStringLiteral("wallpaperSetting"), state);
    if (state != 0) {
        setWallpaper(QSettings().value(QStringLiteral("orginalWallpaper")).toString());
    } else {
        QSettings().setValue(QStringLiteral("orginalWallpaper"), DesktopIntegration::currentWallpaper());
        onChangedToDesign(QSettings().value(QStringLiteral("designNumber"), QStringLiteral("9")).toString());
    }
}

void ZintelloDesktopSettingsWindow::on_login_stateChanged(int state)
{
    QSettings().setValue(QStringLiteral("loginSetting"), state);
    if (state != 0)
        DesktopIntegration::writeAutostartEntry(QCoreApplication::applicationFilePath());
    else
        DesktopIntegration::removeAutostartEntry();
}

void ZintelloDesktopSettingsWindow::onChangedToDesign(QString number)
{
    QSettings().setValue(QStringLiteral("designNumber"), number);
    if (QSettings().value(QStringLiteral("wallpaperSetting"), false).toBool())
        return;
    if (!DesignWallpaper::canNameBitmap(number))
        return;
    const QSize screenSize = QGuiApplication::primaryScreen()->geometry().size();
    setWallpaper(DesignWallpaper::pathFor(programDir(), number, screenSize));
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
    if (!QSettings().value(QStringLiteral("firstStart"), true).toBool())
        return;
    on_login_stateChanged(1);
    on_wallpaper_stateChanged(0);
    QTimer::singleShot(2000, this, &ZintelloDesktopSettingsWindow::showTrayMessage);
    QSettings().setValue(QStringLiteral("firstStart"), false);
}

void ZintelloDesktopSettingsWindow::createBackground()
{
    backgroundWidget = new ZintelloDesktopBackgroundWidget(cookieJar, nullptr);
    // The background's page manager is now the jar's parent; the jar must outlive
    // a background that the window manager closes, as the settings view uses it.
    cookieJar->setParent(this);
    backgroundWidget->setAttribute(Qt::WA_DeleteOnClose);
    backgroundWidget->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    backgroundWidget->setAttribute(Qt::WA_TranslucentBackground);
    backgroundWidget->setAttribute(Qt::WA_TransparentForMouseEvents);
    DesktopIntegration::prepareDesktopWindow(backgroundWidget);
    WallpaperBackdrop::paintBehind(backgroundWidget);
    backgroundWidget->showFullScreen();
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
    ui->login->setChecked(settings.value(QStringLiteral("loginSetting"), true).toBool());
    ui->wallpaper->setChecked(settings.value(QStringLiteral("wallpaperSetting"), false).toBool());
    // Shown as stored, not stored again: an "off" keeps the last number to offer.
    const QSignalBlocker startBlocker(ui->screensaverStart);
    const QSignalBlocker minutesBlocker(ui->screensaverMinutes);
    const int minutes = ScreensaverIdleStart::storedMinutes();
    ui->screensaverStart->setChecked(minutes > 0);
    ui->screensaverMinutes->setEnabled(minutes > 0);
    if (minutes > 0)
        ui->screensaverMinutes->setValue(minutes);
}

void ZintelloDesktopSettingsWindow::setWallpaper(const QString &path)
{
    DesktopIntegration::setWallpaper(path);
    WallpaperBackdrop::paintBehind(backgroundWidget);
}

void ZintelloDesktopSettingsWindow::saveCookies()
{
    if (cookieJar)
        cookieJar->saveCookies();
}
