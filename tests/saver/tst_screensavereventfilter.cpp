#include "ScreenSaverEventFilter.h"

#include <QtTest>
#include <QWidget>

// A top-level window that records what reaches it after the filter.
class WatchedWindow : public QWidget
{
public:
    QList<QEvent::Type> received;

protected:
    bool event(QEvent *event) override
    {
        received.append(event->type());
        return QWidget::event(event);
    }
};

typedef QList<QPoint> Path;

class tst_ScreenSaverEventFilter : public QObject
{
    Q_OBJECT

private slots:
    void setUpOnTheWidget();
    void mouseMoves_data();
    void mouseMoves();
    void otherInput_data();
    void otherInput();
    void eventOnAChildClosesItsWindow();
    void filtersKeepTheirOwnLastPosition();

private:
    static void move(QWidget *widget, const QPoint &position)
    {
        QMouseEvent event(QEvent::MouseMove, position, widget->mapToGlobal(position),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
};

void tst_ScreenSaverEventFilter::setUpOnTheWidget()
{
    QPointer<QWidget> window = new QWidget;
    QVERIFY(!window->hasMouseTracking());
    QPointer<ScreenSaverEventFilter> filter = new ScreenSaverEventFilter(window);
    QVERIFY(window->hasMouseTracking());
    QCOMPARE(filter->parent(), window.data());
    delete window;
    QVERIFY(filter.isNull());
}

void tst_ScreenSaverEventFilter::mouseMoves_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<bool>("closes");

    QTest::newRow("first move only recorded") << Path{{500, 400}} << false;
    QTest::newRow("first move at the origin") << Path{{0, 0}} << false;
    QTest::newRow("2 across and 2 down") << Path{{10, 10}, {12, 12}} << true;
    QTest::newRow("4 along x") << Path{{10, 10}, {14, 10}} << true;
    QTest::newRow("4 up") << Path{{10, 10}, {10, 6}} << true;
    QTest::newRow("3 along x") << Path{{10, 10}, {13, 10}} << false;
    QTest::newRow("2 and 1 back") << Path{{10, 10}, {8, 11}} << false;
    QTest::newRow("no change") << Path{{10, 10}, {10, 10}} << false;
    // Compared with the previous move, not with the first one.
    QTest::newRow("many small steps a long way")
            << Path{{10, 10}, {11, 11}, {12, 12}, {13, 13}, {14, 14}, {15, 15}, {18, 15},
                    {18, 18}, {19, 20}, {20, 21}} << false;
    QTest::newRow("small steps then one large")
            << Path{{10, 10}, {11, 11}, {12, 12}, {13, 13}, {17, 13}} << true;
}

void tst_ScreenSaverEventFilter::mouseMoves()
{
    QFETCH(Path, path);
    QFETCH(bool, closes);

    WatchedWindow window;
    new ScreenSaverEventFilter(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.received.clear();

    for (const QPoint &position : path)
        move(&window, position);
    QCOMPARE(window.isVisible(), !closes);
    // The filter never swallows a move.
    QCOMPARE(window.received.count(QEvent::MouseMove), path.size());
}

void tst_ScreenSaverEventFilter::otherInput_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("closes");

    QTest::newRow("key press") << int(QEvent::KeyPress) << true;
    QTest::newRow("mouse button press") << int(QEvent::MouseButtonPress) << true;
    QTest::newRow("key release") << int(QEvent::KeyRelease) << false;
    QTest::newRow("mouse button release") << int(QEvent::MouseButtonRelease) << false;
    QTest::newRow("double click") << int(QEvent::MouseButtonDblClick) << false;
    QTest::newRow("wheel") << int(QEvent::Wheel) << false;
}

void tst_ScreenSaverEventFilter::otherInput()
{
    QFETCH(int, type);
    QFETCH(bool, closes);

    WatchedWindow window;
    new ScreenSaverEventFilter(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.received.clear();

    const QPoint position(20, 20);
    const QPoint global = window.mapToGlobal(position);
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        QKeyEvent event(QEvent::Type(type), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(&window, &event);
        break;
    }
    case QEvent::Wheel: {
        QWheelEvent event(position, global, QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&window, &event);
        break;
    }
    default: {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
        QMouseEvent event(QEvent::Type(type), position, global, Qt::RightButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
        break;
    }
    }
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(window.received.count(QEvent::Type(type)), 1);
}

void tst_ScreenSaverEventFilter::eventOnAChildClosesItsWindow()
{
    QWidget window;
    auto *child = new WatchedWindow;
    child->setParent(&window);
    new ScreenSaverEventFilter(child);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(child, &press);
    QVERIFY(!window.isVisible());
    QVERIFY(child->received.contains(QEvent::KeyPress));
}

void tst_ScreenSaverEventFilter::filtersKeepTheirOwnLastPosition()
{
    WatchedWindow first;
    WatchedWindow second;
    new ScreenSaverEventFilter(&first);
    new ScreenSaverEventFilter(&second);
    first.show();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    QVERIFY(QTest::qWaitForWindowExposed(&second));

    move(&first, QPoint(10, 10));
    // The second filter has seen no move yet: far from the first one's position, still recorded only.
    move(&second, QPoint(300, 300));
    QVERIFY(first.isVisible());
    QVERIFY(second.isVisible());
    move(&first, QPoint(11, 11));
    move(&second, QPoint(302, 302));
    QVERIFY(first.isVisible());
    QVERIFY(!second.isVisible());
}

QTEST_MAIN(tst_ScreenSaverEventFilter)
#include "tst_screensavereventfilter.moc"
