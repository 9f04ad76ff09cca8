#include "ZintelloDesktopSettingsWindow.h"
#include "ui_ZintelloDesktopSettingsWindow.h"

#include "DesignWallpaper.h"
#include "DesktopIntegration.h"
#include "SaveNetworkCookieJar.h"
#include "WallpaperBackdrop.h"
#include "UpdateChecker.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QProcess>
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
        DesktopIntegration::restoreWallpaper(QSettings().value(QStringLiteral("orginalWallpaper")).toString());
        WallpaperBackdrop::paintBehind(backgroundWidget);
    } else {
        QSettings().setValue(QStringLiteral("orginalWallpaper"), DesktopIntegration::keepWallpaper());
        onChangedToDesign(QSettings().value(QStringLiteral("designNumber"), QStringLiteral("9")).toString());
    }
    explainOwnImage();
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
    auto *process = new QProcess(this);
    // Nobody reads the screensaver's diagnostics: pass them on rather than let a
    // full pipe stop it.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QDir::toNativeSeparators(programDir() + QStringLiteral("/ZINTELLO.scr")),
                   {QStringLiteral("/c")}, QIODevice::ReadWrite);
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

void ZintelloDesktopSettingsWindow::readSettings()
{
    QSettings settings;
    ui->login->setChecked(settings.value(QStringLiteral("loginSetting"), true).toBool());
    ui->wallpaper->setChecked(settings.value(QStringLiteral("wallpaperSetting"), false).toBool());
    explainOwnImage();
}

void ZintelloDesktopSettingsWindow::explainOwnImage()
{
    // Where the desktop could not name its picture nor show one to copy, the
    // check box cannot bring it back: it says so rather than leave the user guessing.
    const bool known = !QSettings().value(QStringLiteral("orginalWallpaper")).toString().isEmpty();
    ui->wallpaper->setToolTip(known ? QString()
                                    : tr("The desktop's own picture is not known: the design stays as the background."));
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
