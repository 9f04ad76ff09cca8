#include "TestEnvironment.h"
#include "X11Desktop.h"
#include "linux/FullScreenFocusedWindow.h"

#include <QWidget>
#include <QtTest>

// A full-screen window keeps the screensaver away only while it has the focus,
// as the window manager (openbox here) reports it.
class tst_FullScreenFocusedWindow : public QObject
{
    Q_OBJECT

private slots:
    void onlyAFocusedFullScreenWindowCounts();

private:
    static bool activate(QWidget &window);
};

bool tst_FullScreenFocusedWindow::activate(QWidget &window)
{
    X11Desktop::activate(window.winId());
    return TestEnvironment::waitFor([&] {
        return TestEnvironment::run(QStringLiteral("xprop"), {"-root", "_NET_ACTIVE_WINDOW"})
                .contains(QStringLiteral("0x%1").arg(window.winId(), 0, 16));
    });
}

void tst_FullScreenFocusedWindow::onlyAFocusedFullScreenWindowCounts()
{
    QVERIFY(!FullScreenFocusedWindow::isShown());

    QWidget editor;
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(activate(editor));
    QVERIFY(!FullScreenFocusedWindow::isShown());

    QWidget film;
    film.showFullScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&film));
    QVERIFY(activate(film));
    QVERIFY(TestEnvironment::waitFor(&FullScreenFocusedWindow::isShown, 10000));

    // Still full screen, but behind the window the user works in.
    QVERIFY(activate(editor));
    QVERIFY(!FullScreenFocusedWindow::isShown());

    QVERIFY(activate(film));
    QVERIFY(TestEnvironment::waitFor(&FullScreenFocusedWindow::isShown, 10000));
    film.showNormal();
    QVERIFY(TestEnvironment::waitFor([] { return !FullScreenFocusedWindow::isShown(); }, 10000));
}

QTEST_MAIN(tst_FullScreenFocusedWindow)
#include "tst_fullscreenfocusedwindow.moc"
