#include "SaveNetworkCookieJar.h"

#include "SettingsStore.h"

#include <QCoreApplication>
#include <QNetworkCookie>
#include <QSettings>
#include <QUrl>

namespace {
const char cookiesKey[] = "cookies";
}

SaveNetworkCookieJar::SaveNetworkCookieJar(QObject *parent, Program program)
    : QNetworkCookieJar(parent)
    , program(program)
{
    QList<QNetworkCookie> cookies = QNetworkCookie::parseCookies(
                QSettings().value(cookiesKey, QString()).toByteArray());
    if (program == DesktopProgram) {
        // Appended without looking for an earlier one: the pages decide what to
        // do with several of them.
        QNetworkCookie startCookie("background_reset", "1");
        startCookie.setPath(startCookiePath());
        cookies.append(startCookie);
    }
    setAllCookies(cookies);
}

SaveNetworkCookieJar::~SaveNetworkCookieJar()
{
    saveCookies();
}

bool SaveNetworkCookieJar::saveCookies()
{
    QByteArray stored;
    const QList<QNetworkCookie> cookies = allCookies();
    for (const QNetworkCookie &cookie : cookies) {
        stored += cookie.toRawForm(QNetworkCookie::Full);
        stored += '\n';
    }
    return SettingsStore::set(QString::fromLatin1(cookiesKey), stored);
}

bool SaveNetworkCookieJar::setCookiesFromUrl(const QList<QNetworkCookie> &cookieList, const QUrl &url)
{
    // Receivers run before the cookie is stored, whatever the base class then does.
    if (program == DesktopProgram && !cookieList.isEmpty()) {
        const QNetworkCookie &first = cookieList.first();
        if (first.name() == "language") {
            emit cookiesChanges();
        } else if (first.name() == "design") {
            emit cookiesChanges();
            emit changedToDesign(QString::fromLatin1(first.value().constData()));
        }
    }
    return QNetworkCookieJar::setCookiesFromUrl(cookieList, url);
}

QString SaveNetworkCookieJar::startCookiePath()
{
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/html/")).path();
}
