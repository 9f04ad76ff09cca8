#ifndef WATCHEDPAGE_H
#define WATCHEDPAGE_H

#include <QStringList>
#include <QWebPage>

class QNetworkCookieJar;
class QWebElement;

// A web page as the programs show one, which also keeps what the page's scripts
// say on the console: the engine reports uncaught script errors there.
class WatchedPage : public QWebPage
{
    Q_OBJECT

public:
    explicit WatchedPage(QObject *parent = nullptr);

    // The desktop background's set-up: the page draws transparent where it paints nothing.
    void makeTransparent();
    void useCookieJar(QNetworkCookieJar *jar);

    // Loads a page of the program directory's html/ folder and waits for the end
    // of the load; false when it fails or takes too long.
    // A fragment after '#' is kept.
    bool loadPage(const QString &fileName, const QSize &viewport);
    bool loadUrl(const QUrl &url, const QSize &viewport);

    QVariant evaluate(const QString &script);
    QWebElement element(const QString &selector);
    // The element's text as written, before any styling such as capitals.
    QString text(const QString &selector);
    // The page drawn into an image with alpha, on a transparent ground.
    QImage render();

    QStringList consoleMessages;

    static QString pagePath(const QString &fileName);

protected:
    void javaScriptConsoleMessage(const QString &message, int lineNumber, const QString &sourceId) override;
};

#endif
