#ifndef SAVENETWORKCOOKIEJAR_H
#define SAVENETWORKCOOKIEJAR_H

#include <QNetworkCookieJar>
#include <QTimer>

// A cookie jar that keeps all cookies in the program's settings store under
// "cookies": loaded when the jar is made, written by saveCookies(), about a
// second after pages change them and when the jar is destroyed. A jar writes only
// when it changed something since it loaded or last saved, so a jar that only
// shows the cookies (the screensaver's show) never overwrites what another
// process stored meanwhile. The desktop program's jar also adds the start cookie
// and reports the "language" and "design" cookies that pages set; the
// screensaver's jar only keeps the cookies.
class SaveNetworkCookieJar : public QNetworkCookieJar
{
    Q_OBJECT

public:
    enum Program { DesktopProgram, ScreenSaverProgram };

    explicit SaveNetworkCookieJar(QObject *parent, Program program = DesktopProgram);
    ~SaveNetworkCookieJar() override;

    // false when the settings store could not be saved.
    bool saveCookies();

    bool setCookiesFromUrl(const QList<QNetworkCookie> &cookieList, const QUrl &url) override;
    bool insertCookie(const QNetworkCookie &cookie) override;
    bool updateCookie(const QNetworkCookie &cookie) override;
    bool deleteCookie(const QNetworkCookie &cookie) override;

    // The start cookie's path: the URL path of the html directory below the
    // program directory, as local file URLs give it.
    static QString startCookiePath();
    // A cookie's path as the stored value writes it.
    static QString storedPath(const QString &path);

    // The entry of the program's settings store that holds the cookies.
    static inline const QString cookiesKey = QStringLiteral("cookies");

    // The pages keep a handful of cookies; a flooded store must not cost minutes
    // at every start and page load. Beyond these the oldest cookies go.
    static constexpr int maxCookies = 300;
    static constexpr int maxBytes = 64 * 1024;

    // The newest stored cookies within the bounds, in their stored order.
    static QList<QNetworkCookie> newestStoredCookies(const QByteArray &stored);

signals:
    void cookiesChanges();
    void changedToDesign(QString number);
    // A save after a change failed; the next change or saveCookies() tries again.
    void saveFailed();

private:
    void noteChange(bool changed);
    void dropTheOldestBeyondTheBounds();

    const Program program;
    bool changedSinceSaved;
    QTimer saveSoon;
};

#endif
