#include "SaveNetworkCookieJar.h"

#include "SettingsStore.h"

#include <QCoreApplication>
#include <QNetworkCookie>
#include <QSettings>
#include <QUrl>

#include <algorithm>

namespace {
// Changes within this time reach the store together.
const int saveDelayMs = 1000;
const int maxCookieBytes = 4096;
}

SaveNetworkCookieJar::SaveNetworkCookieJar(QObject *parent, Program program)
    : QNetworkCookieJar(parent)
    , program(program)
    // The desktop program's start cookie is a change of its own.
    , changedSinceSaved(program == DesktopProgram)
{
    saveSoon.setSingleShot(true);
    saveSoon.setInterval(saveDelayMs);
    connect(&saveSoon, &QTimer::timeout, this, [this] {
        if (!saveCookies())
            emit saveFailed();
    });
    QList<QNetworkCookie> cookies = newestStoredCookies(QSettings().value(cookiesKey, QString()).toByteArray());
    if (program == DesktopProgram) {
        // This start's cookie takes the place of the last one's, at the end: the
        // pages cannot remove one whose path has letters beyond Latin-1.
        QNetworkCookie startCookie("background_reset", "1");
        startCookie.setPath(startCookiePath());
        cookies.erase(std::remove_if(cookies.begin(), cookies.end(), [&](const QNetworkCookie &cookie) {
                          return cookie.name() == startCookie.name() && cookie.path() == startCookie.path();
                      }),
                      cookies.end());
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
    if (!changedSinceSaved)
        return true;
    QByteArray stored;
    const QList<QNetworkCookie> cookies = allCookies();
    for (QNetworkCookie cookie : cookies) {
        cookie.setPath(storedPath(cookie.path()));
        stored += cookie.toRawForm(QNetworkCookie::Full);
        stored += '\n';
    }
    changedSinceSaved = !SettingsStore::set(cookiesKey, stored);
    return !changedSinceSaved;
}

bool SaveNetworkCookieJar::insertCookie(const QNetworkCookie &cookie)
{
    const bool inserted = QNetworkCookieJar::insertCookie(cookie);
    if (inserted)
        dropTheOldestBeyondTheBounds();
    noteChange(inserted);
    return inserted;
}

bool SaveNetworkCookieJar::updateCookie(const QNetworkCookie &cookie)
{
    const bool updated = QNetworkCookieJar::updateCookie(cookie);
    noteChange(updated);
    return updated;
}

bool SaveNetworkCookieJar::deleteCookie(const QNetworkCookie &cookie)
{
    const bool deleted = QNetworkCookieJar::deleteCookie(cookie);
    noteChange(deleted);
    return deleted;
}

void SaveNetworkCookieJar::noteChange(bool changed)
{
    if (!changed)
        return;
    changedSinceSaved = true;
    if (!saveSoon.isActive())
        saveSoon.start();
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

QList<QNetworkCookie> SaveNetworkCookieJar::newestStoredCookies(const QByteArray &stored)
{
    // Lines from the end, so that a store of any size is read in bounded time.
    QList<QNetworkCookie> newest;
    int bytes = 0;
    int end = stored.size();
    while (end > 0 && newest.size() < maxCookies) {
        const int start = stored.lastIndexOf('\n', end - 1) + 1;
        const QByteArray line = stored.mid(start, end - start);
        end = start - 1;
        // Browsers keep no single cookie larger than this either.
        if (line.size() > maxCookieBytes)
            continue;
        if (bytes + line.size() > maxBytes)
            break;
        QList<QNetworkCookie> parsed = QNetworkCookie::parseCookies(line);
        for (QNetworkCookie &cookie : parsed)
            cookie.setPath(QUrl::fromPercentEncoding(cookie.path().toUtf8()));
        bytes += line.size();
        newest = parsed + newest;
    }
    return newest;
}

void SaveNetworkCookieJar::dropTheOldestBeyondTheBounds()
{
    QList<QNetworkCookie> cookies = allCookies();
    int bytes = 0;
    for (const QNetworkCookie &cookie : qAsConst(cookies))
        bytes += cookie.toRawForm().size();
    const int before = cookies.size();
    while (cookies.size() > 1 && (cookies.size() > maxCookies || bytes > maxBytes))
        bytes -= cookies.takeFirst().toRawForm().size();
    if (cookies.size() != before)
        setAllCookies(cookies);
}

QString SaveNetworkCookieJar::storedPath(const QString &path)
{
    // A ';' would end the path in the stored line, and letters beyond ASCII
    // would not come back as they were: such paths are stored percent-encoded
    // (read back by older versions as a path that matches no page).
    return QString::fromLatin1(QUrl::toPercentEncoding(path, "/:"));
}

QString SaveNetworkCookieJar::startCookiePath()
{
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/html/")).path();
}
