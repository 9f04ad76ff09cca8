#include "ZintelloDesktopBackgroundWidget.h"

#include "SaveNetworkCookieJar.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPixmapCache>
#include <QVBoxLayout>
#include <QWebFrame>
#include <QWebPage>
#include <QWebSettings>
#include <QWebView>

ZintelloDesktopBackgroundWidget::ZintelloDesktopBackgroundWidget(QNetworkCookieJar *cookieJar, QWidget *parent)
    : QWidget(parent)
    , webView(new QWebView(this))
{
    keepNoEngineCaches();
    fillWithView();

    QPalette palette = webView->palette();
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(Qt::transparent, Qt::SolidPattern));
    webView->page()->setPalette(palette);

    webView->setAttribute(Qt::WA_OpaquePaintEvent, false);
    webView->setAttribute(Qt::WA_MouseTracking, false);
    webView->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    webView->setAcceptDrops(false);

    webView->page()->networkAccessManager()->setCookieJar(cookieJar);
    loadStartPage();
}

ZintelloDesktopBackgroundWidget::ZintelloDesktopBackgroundWidget(QWidget *parent)
    : QWidget(parent)
    , webView(new QWebView(this))
{
    keepNoEngineCaches();
    webView->setAttribute(Qt::WA_MouseTracking, false);
    fillWithView();
    webView->page()->networkAccessManager()->setCookieJar(
                new SaveNetworkCookieJar(this, SaveNetworkCookieJar::ScreenSaverProgram));
    loadStartPage();
}

ZintelloDesktopBackgroundWidget::~ZintelloDesktopBackgroundWidget()
{
    delete webView;
}

void ZintelloDesktopBackgroundWidget::reload()
{
    webView->reload();
}

void ZintelloDesktopBackgroundWidget::showTheTimeAgain()
{
    webView->page()->mainFrame()->evaluateJavaScript(QStringLiteral("window.dispatchEvent(new Event('clockchange'));"));
}

void ZintelloDesktopBackgroundWidget::fillWithView()
{
    auto *layout = new QVBoxLayout;
    layout->addWidget(webView, 0, Qt::Alignment());
    layout->setContentsMargins(0, 0, 0, 0);
    setLayout(layout);
}

void ZintelloDesktopBackgroundWidget::keepNoEngineCaches()
{
    // The page is a local file that stays on screen all day: what the engine
    // would keep to show it again faster (dead resources, earlier pages, code
    // and garbage of the start) is memory held for nothing, and its later
    // collection a wake-up of its own. Nor does Qt's pixmap cache keep what the
    // engine and the style draw: it would wake the program thirty and forty
    // seconds after the first picture it took in, to age its pictures out.
    QWebSettings::setObjectCacheCapacities(0, 0, 0);
    QWebSettings::setMaximumPagesInCache(0);
    QPixmapCache::setCacheLimit(0);
}

void ZintelloDesktopBackgroundWidget::loadStartPage()
{
    connect(webView, &QWebView::loadFinished, this, [] { QWebSettings::clearMemoryCaches(); });
    webView->load(QUrl::fromLocalFile(QCoreApplication::applicationDirPath()
                                      + QStringLiteral("/html/index.html")));
}
