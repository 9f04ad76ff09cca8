#include "BlackWidget.h"
#include "QuitRecorder.h"
#include "ScreenSaverEventFilter.h"
#include "ScreenSaverModes.h"
#include "TestIdentity.h"
#include "ZintelloDesktopBackgroundWidget.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWebView>
#include <QtTest>

// The show sequence and the error box in this process, on the session's one
// screen. Two screens and the real program are covered by
// tst_screensaverprogram and tst_screensavertwoscreens.
class tst_ScreenSaverModes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void blackWidgetIsBlack();
    void showOnOneScreen();
    void inputOnTheViewEndsTheShow_data();
    void inputOnTheViewEndsTheShow();
    void errorBoxListsEveryArgument();

private:
    ZintelloDesktopBackgroundWidget *startShow(QuitRecorder *application);
};

void tst_ScreenSaverModes::initTestCase()
{
    TestIdentity::screensaver();
    QCOMPARE(QGuiApplication::screens().size(), 1);
}

void tst_ScreenSaverModes::cleanup()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    qDeleteAll(QApplication::topLevelWidgets());
}

ZintelloDesktopBackgroundWidget *tst_ScreenSaverModes::startShow(QuitRecorder *application)
{
    ZintelloDesktopBackgroundWidget *pageWindow = ScreenSaverModes::makePageWindow(application->quit());
    ScreenSaverModes::show(application->quit(), pageWindow);
    return pageWindow;
}

void tst_ScreenSaverModes::blackWidgetIsBlack()
{
    BlackWidget cover;
    cover.resize(120, 80);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    const QImage image = cover.grab().toImage();
    QCOMPARE(image.pixelColor(60, 40), QColor(Qt::black));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
}

void tst_ScreenSaverModes::showOnOneScreen()
{
    QuitRecorder application;
    QTest::ignoreMessage(QtDebugMsg, "1");
    QPointer<ZintelloDesktopBackgroundWidget> pageWindow = startShow(&application);

    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BlankCursor);

    // One filter on the page window, one on its view.
    const QList<ScreenSaverEventFilter *> filters = pageWindow->findChildren<ScreenSaverEventFilter *>();
    QCOMPARE(filters.size(), 2);
    QVERIFY(filters.at(0)->parent() == pageWindow || filters.at(1)->parent() == pageWindow);
    QVERIFY(filters.at(0)->parent() == pageWindow->webView || filters.at(1)->parent() == pageWindow->webView);

    // One screen: no cover.
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<BlackWidget *>(window));

    QVERIFY(pageWindow->isVisible());
    QVERIFY(pageWindow->isFullScreen());
    QTRY_COMPARE_WITH_TIMEOUT(pageWindow->geometry(), QGuiApplication::primaryScreen()->geometry(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(pageWindow->isActiveWindow(), 10000);
    QCOMPARE(application.quitCalls, 0);
}

void tst_ScreenSaverModes::inputOnTheViewEndsTheShow_data()
{
    QTest::addColumn<bool>("key");
    QTest::newRow("key press") << true;
    QTest::newRow("mouse press") << false;
}

void tst_ScreenSaverModes::inputOnTheViewEndsTheShow()
{
    QFETCH(bool, key);

    QuitRecorder application;
    QTest::ignoreMessage(QtDebugMsg, "1");
    QPointer<ZintelloDesktopBackgroundWidget> pageWindow = startShow(&application);
    QVERIFY(QTest::qWaitForWindowExposed(pageWindow.data()));
    QPointer<QWebView> view = pageWindow->webView;

    if (key)
        QTest::keyClick(view.data(), Qt::Key_A);
    else
        QTest::mouseClick(view.data(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTRY_VERIFY(pageWindow.isNull());
    QVERIFY(view.isNull());
    QCOMPARE(application.quitCalls, 1);
}

void tst_ScreenSaverModes::errorBoxListsEveryArgument()
{
    const QStringList arguments{QStringLiteral("/opt/ZINTELLO/ZINTELLO.scr"), QStringLiteral("/s"),
                                QStringLiteral("/p"), QStringLiteral("abc")};
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hadParent = true;
    // The box is modal: look at it from inside its own event loop, then close it.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        hadParent = box->parent() != nullptr;
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(50);
    ScreenSaverModes::reportRejectedCommandLine(arguments);

    QCOMPARE(title, QStringLiteral("ScreenSaver error"));
    QCOMPARE(text, QStringLiteral("Couldn't parse command line:\n/opt/ZINTELLO/ZINTELLO.scr\n/s\n/p\nabc"));
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(!hadParent);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(tst_ScreenSaverModes)
#include "tst_screensavermodes.moc"
