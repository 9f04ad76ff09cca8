#ifndef ZINTELLOSAVERSETTINGS_H
#define ZINTELLOSAVERSETTINGS_H

#include <QDialog>

class SaveNetworkCookieJar;

namespace Ui {
class ZintelloSaverSettings;
}

// The screensaver's settings: the local settings page in a fixed-size dialog.
// The choices live in the cookies the page sets; they go to the screensaver's
// own settings store when the dialog is deleted, however it was closed, so
// Cancel keeps them as OK does.
class ZintelloSaverSettings : public QDialog
{
    Q_OBJECT

public:
    explicit ZintelloSaverSettings(QWidget *parent = nullptr);
    ~ZintelloSaverSettings() override;

private:
    SaveNetworkCookieJar *cookieJar;
    Ui::ZintelloSaverSettings *ui;
};

#endif
