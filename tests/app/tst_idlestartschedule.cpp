#include "IdleStartSchedule.h"

#include <QtTest>

// When the screensaver starts by itself, and how long the program sleeps
// between two looks at the session.
class tst_IdleStartSchedule : public QObject
{
    Q_OBJECT

private slots:
    void next_data();
    void next();
};

void tst_IdleStartSchedule::next_data()
{
    QTest::addColumn<qint64>("idleMs");
    QTest::addColumn<qint64>("startAfterMs");
    QTest::addColumn<bool>("keptAwake");
    QTest::addColumn<bool>("startShow");
    QTest::addColumn<qint64>("waitMs");

    const qint64 minute = 60000;
    QTest::newRow("just active: sleeps the whole time") << qint64(0) << 10 * minute << false << false << 10 * minute;
    QTest::newRow("partly idle: sleeps the rest") << 4 * minute << 10 * minute << false << false << 6 * minute;
    QTest::newRow("one millisecond short") << minute - 1 << minute << false << false << qint64(1);
    QTest::newRow("idle for the time: starts") << minute << minute << false << true << qint64(-1);
    QTest::newRow("idle for longer: starts") << 3 * minute << minute << false << true << qint64(-1);
    QTest::newRow("kept awake: looks again in a minute") << 30 * minute << 10 * minute << true << false << minute;
    QTest::newRow("kept awake, short time: looks again after it") << minute << minute / 2 << true << false << minute / 2;
    QTest::newRow("kept awake but not idle yet: sleeps the rest") << qint64(1000) << minute << true << false << minute - 1000;
    QTest::newRow("off") << 30 * minute << qint64(0) << false << false << qint64(-1);
    QTest::newRow("idle time unknown") << qint64(-1) << minute << false << false << qint64(-1);
}

void tst_IdleStartSchedule::next()
{
    QFETCH(qint64, idleMs);
    QFETCH(qint64, startAfterMs);
    QFETCH(bool, keptAwake);
    QFETCH(bool, startShow);
    QFETCH(qint64, waitMs);

    const IdleStartSchedule::Step step = IdleStartSchedule::next(idleMs, startAfterMs, keptAwake);
    QCOMPARE(step.startShow, startShow);
    QCOMPARE(step.waitMs, waitMs);
}

QTEST_APPLESS_MAIN(tst_IdleStartSchedule)
#include "tst_idlestartschedule.moc"
