// The peer of the desktop program's background for the benchmark: the page in
// a minimal Qt WebEngine view, frameless and full screen below other windows,
// the way a Qt program built on the Chromium engine would show it.
#include <QApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEngineView>
#include <QWindow>
#include <QtPlatformHeaders/QXcbWindowFunctions>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;

    QWebEngineView view;
    view.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    view.setAttribute(Qt::WA_ShowWithoutActivating);
    // A desktop-type window stays below the others; the type counts only when
    // set before the window is mapped.
    view.winId();
    QXcbWindowFunctions::setWmWindowType(view.windowHandle(), QXcbWindowFunctions::Desktop);
    view.setGeometry(QGuiApplication::primaryScreen()->geometry());
    view.load(QUrl::fromUserInput(QString::fromLocal8Bit(argv[1])));
    view.showFullScreen();
    return app.exec();
}
