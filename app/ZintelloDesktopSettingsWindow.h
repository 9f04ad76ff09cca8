#ifndef ZINTELLODESKTOPSETTINGSWINDOW_H
#define ZINTELLODESKTOPSETTINGSWINDOW_H

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QUrl>

class QAction;
class QMenu;
class SaveNetworkCookieJar;
class QScreen;
class ScreenBackgrounds;
class ScreensaverIdleStart;
class ZintelloDesktopBackgroundWidget;
class Ui_ZintelloDesktopSettingsWindow;

// The desktop program's main window and the owner of everything it shows or runs:
// the settings tabs, the tray icon, the shared cookie jar, the desktop background
// and the update check. It stays hidden until asked for and hides on close.
class ZintelloDesktopSettingsWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ZintelloDesktopSettingsWindow(QWidget *parent = nullptr);
    ~ZintelloDesktopSettingsWindow() override;

public slots:
    void receiveMultiInstanceMessage(const QString &message);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void pageReload();
    void on_wallpaper_stateChanged(int state);
    void on_login_stateChanged(int state);
    void onChangedToDesign(QString number);
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void showTrayMessage();
    void showNoBackgroundMessage();
    void linkClicked(QUrl url);
    void openScrennsaverSettings();
    void followLanguageChoice();
    void followPrimaryScreen();
    void followScreens();
    void on_screensaverStart_toggled(bool on);
    void on_screensaverMinutes_valueChanged(int minutes);

private:
    void createActions();
    void createTrayIcon();
    void checkFirstStart();
    void createBackground();
    ZintelloDesktopBackgroundWidget *makeBackground(QScreen *screen);
    void createScreensaverIdleStart();
    void readSettings();
    void explainOwnImage();
    // The design's bitmaps as the wallpaper, unless the user keeps an own image.
    void showDesignWallpaper(const QString &number);
    void paintWallpaperBehindBackgrounds();
    void saveCookies();
    void fitTextsToTheirControls();
    void storeSetting(const QString &key, const QVariant &value);
    void noteSave(bool saved);
    void showSaveFailure();

    // Both can go before the window does: the background is deleted when the
    // window manager closes it, so the window keeps guarded pointers.
    QPointer<SaveNetworkCookieJar> cookieJar;
    QPointer<ZintelloDesktopBackgroundWidget> backgroundWidget;
    ScreenBackgrounds *screenBackgrounds = nullptr;
    QAction *settingsAction;
    QAction *quitAction;
    QSystemTrayIcon *trayIcon;
    QMenu *trayIconMenu;
    ScreensaverIdleStart *screensaverIdleStart = nullptr;
    Ui_ZintelloDesktopSettingsWindow *ui;
    bool saveFailureReported = false;
    bool pagesRequested = false;
};

#endif
