#include "DesktopIntegration.h"
#include "TestIdentity.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

// X11 shows what lies behind a translucent window only while a compositing
// manager runs; the answer follows one that starts and stops.
class tst_TranslucentWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void followsTheCompositingManager();
};

void tst_TranslucentWindows::initTestCase()
{
    TestIdentity::desktopProgram();
}

void tst_TranslucentWindows::followsTheCompositingManager()
{
    QVERIFY(!DesktopIntegration::showsTranslucentWindows());

    QProcess compositor;
    compositor.start(QStringLiteral("xcompmgr"), QStringList());
    QVERIFY2(compositor.waitForStarted(10000), "xcompmgr is missing");
    QTRY_VERIFY_WITH_TIMEOUT(DesktopIntegration::showsTranslucentWindows(), 20000);

    compositor.terminate();
    QVERIFY(compositor.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(!DesktopIntegration::showsTranslucentWindows(), 20000);
}

QTEST_MAIN(tst_TranslucentWindows)
#include "tst_translucentwindows.moc"
