#ifndef ZINTELLODESKTOPBACKGROUNDWIDGET_H
#define ZINTELLODESKTOPBACKGROUNDWIDGET_H

#include <QWidget>

class QNetworkCookieJar;
class QWebView;

// Shows the local start page html/index.html in a web view that fills the widget.
// The desktop program's variant gets the shared cookie jar, draws the page
// transparent where it paints nothing and lets mouse input pass; the
// screensaver's variant opens its own jar and receives input.
class ZintelloDesktopBackgroundWidget : public QWidget
{
    Q_OBJECT

public:
    // The desktop program's background.
    ZintelloDesktopBackgroundWidget(QNetworkCookieJar *cookieJar, QWidget *parent);
    // The screensaver's page window.
    explicit ZintelloDesktopBackgroundWidget(QWidget *parent);
    ~ZintelloDesktopBackgroundWidget() override;

    void reload();
    // The wall clock jumped (a wake-up from sleep, a new time): the page shows
    // the time again now rather than at its next minute.
    void showTheTimeAgain();

    // Neither the engine nor Qt caches anything for the pages shown all day.
    // Before the program makes its first web view's page: the engine puts its
    // pictures in Qt's cache as it starts.
    static void keepNoEngineCaches();

    QWebView *webView;

private:
    void fillWithView();
    void loadStartPage();
};

#endif
