#include "ZintelloSaverSettings.h"
#include "ui_ZintelloSaverSettings.h"

#include "SaveNetworkCookieJar.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QWebPage>

ZintelloSaverSettings::ZintelloSaverSettings(QWidget *parent)
    : QDialog(parent)
    , cookieJar(nullptr)
    , ui(new Ui::ZintelloSaverSettings)
{
    ui->setupUi(this);
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/html/settings.html");
    cookieJar = new SaveNetworkCookieJar(this, SaveNetworkCookieJar::ScreenSaverProgram);
    ui->settings->page()->networkAccessManager()->setCookieJar(cookieJar);
    // Replaces the form's remote address before the event loop gets to it.
    ui->settings->load(QUrl::fromLocalFile(path));
    ui->settings->reload();
}

ZintelloSaverSettings::~ZintelloSaverSettings()
{
    cookieJar->saveCookies();
    delete cookieJar;
    delete ui;
}
