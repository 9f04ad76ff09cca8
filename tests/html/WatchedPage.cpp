#include "WatchedPage.h"

#include <QCoreApplication>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QPainter>
#include <QSignalSpy>
#include <QUrl>
#include <QWebElement>
#include <QWebFrame>

WatchedPage::WatchedPage(QObject *parent)
    : QWebPage(parent)
{
}

QString WatchedPage::pagePath(const QString &fileName)
{
    // Beside the test program, as the pages lie beside the programs; the desktop
    // program's start cookie is made for this path.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/html/") + fileName;
}

void WatchedPage::makeTransparent()
{
    QPalette transparent = palette();
    transparent.setBrush(QPalette::All, QPalette::Base, QBrush(Qt::transparent, Qt::SolidPattern));
    setPalette(transparent);
}

void WatchedPage::useCookieJar(QNetworkCookieJar *jar)
{
    networkAccessManager()->setCookieJar(jar);
    // The page's manager would delete the jar with itself; the test owns it.
    jar->setParent(nullptr);
}

bool WatchedPage::loadPage(const QString &fileName, const QSize &viewport)
{
    QUrl url = QUrl::fromLocalFile(pagePath(fileName.section('#', 0, 0)));
    if (fileName.contains('#'))
        url.setFragment(fileName.section('#', 1));
    return loadUrl(url, viewport);
}

bool WatchedPage::loadUrl(const QUrl &url, const QSize &viewport)
{
    setViewportSize(viewport);
    QSignalSpy finished(this, &QWebPage::loadFinished);
    mainFrame()->load(url);
    if (!finished.wait(20000))
        return false;
    return finished.first().first().toBool();
}

QVariant WatchedPage::evaluate(const QString &script)
{
    return mainFrame()->evaluateJavaScript(script);
}

QWebElement WatchedPage::element(const QString &selector)
{
    return mainFrame()->findFirstElement(selector);
}

QString WatchedPage::text(const QString &selector)
{
    return element(selector).evaluateJavaScript(QStringLiteral("this.textContent")).toString();
}

QImage WatchedPage::render()
{
    QImage image(viewportSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    mainFrame()->render(&painter);
    painter.end();
    return image;
}

void WatchedPage::javaScriptConsoleMessage(const QString &message, int lineNumber, const QString &sourceId)
{
    consoleMessages.append(QStringLiteral("%1:%2: %3").arg(sourceId).arg(lineNumber).arg(message));
}
