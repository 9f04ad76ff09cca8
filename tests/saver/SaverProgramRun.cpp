#include "SaverProgramRun.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

SaverProgramRun::SaverProgramRun()
    : m_program(TestEnvironment::programDir() + QStringLiteral("/ZINTELLO.scr"))
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
}

SaverProgramRun::SaverProgramRun(const QList<QPair<QString, QByteArray>> &pages)
    : SaverProgramRun()
{
    const QString copy = m_dir.path() + QStringLiteral("/ZINTELLO.scr");
    QFile::copy(m_program, copy);
    m_program = copy;
    QDir(m_dir.path()).mkpath(QStringLiteral("html"));
    for (const auto &page : pages) {
        QFile file(m_dir.path() + QStringLiteral("/html/") + page.first);
        file.open(QIODevice::WriteOnly);
        file.write(page.second);
    }
}

SaverProgramRun::~SaverProgramRun()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void SaverProgramRun::start(const QStringList &arguments)
{
    m_process.start(m_program, arguments);
    m_process.waitForStarted(30000);
}

bool SaverProgramRun::waitForExit(int timeoutMs)
{
    return m_process.waitForFinished(timeoutMs);
}

QStringList SaverProgramRun::visibleWindows(const QString &title) const
{
    // --all: xdotool otherwise takes windows that match any one condition.
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--pid"), QString::number(m_process.processId())};
    if (!title.isEmpty())
        arguments << QStringLiteral("--name") << QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    return xdotool(arguments).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString SaverProgramRun::waitForWindow(const QString &title, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        const QStringList windows = visibleWindows(title);
        if (!windows.isEmpty())
            return windows.first();
        QTest::qWait(100);
    }
    return QString();
}

QByteArray SaverProgramRun::inputEchoPage()
{
    return R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>input echo</title>
<style>html, body { margin: 0; height: 100%; overflow: hidden; }</style></head>
<body><script>
var x = 1, y = 2, blue = 200;
function paint() { document.documentElement.style.background = 'rgb(' + x + ',' + y + ',' + blue + ')'; }
document.addEventListener('mousemove', function (e) { x = e.clientX & 255; y = e.clientY & 255; paint(); });
document.addEventListener('mousewheel', function (e) { blue = e.wheelDelta > 0 ? 71 : 72; paint(); });
paint();
</script></body></html>
)";
}

QColor SaverProgramRun::inputEchoColour(const QPoint &pointer, int blue)
{
    return QColor(pointer.x() & 255, pointer.y() & 255, blue);
}

QString SaverProgramRun::xdotool(const QStringList &arguments)
{
    return TestEnvironment::run(QStringLiteral("xdotool"), arguments);
}

QRect SaverProgramRun::windowGeometry(const QString &window)
{
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QMap<QString, int> values;
    for (const QString &line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                 values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
}

QString SaverProgramRun::windowProperties(const QString &window)
{
    return TestEnvironment::run(QStringLiteral("xprop"), {QStringLiteral("-id"), window});
}

QPoint SaverProgramRun::pointer()
{
    const QString shell = xdotool({QStringLiteral("getmouselocation"), QStringLiteral("--shell")});
    const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("X=(\\d+)\\s+Y=(\\d+)")).match(shell);
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

QColor SaverProgramRun::pixel(const QPoint &position)
{
    // Straight from the root window, in root coordinates, whichever screen is primary.
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return QColor();
    QColor colour;
    XWindowAttributes root;
    XGetWindowAttributes(display, DefaultRootWindow(display), &root);
    if (XImage *image = XGetImage(display, DefaultRootWindow(display), position.x(), position.y(),
                                  1, 1, AllPlanes, ZPixmap)) {
        const unsigned long value = XGetPixel(image, 0, 0);
        const auto channel = [value](unsigned long mask) {
            int shift = 0;
            while (mask && !(mask & 1)) {
                mask >>= 1;
                ++shift;
            }
            return int(((value >> shift) & mask) * 255 / (mask ? mask : 1));
        };
        colour = QColor(channel(root.visual->red_mask), channel(root.visual->green_mask),
                        channel(root.visual->blue_mask));
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return colour;
}

bool SaverProgramRun::pointerIsBlank()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    bool blank = false;
    if (XFixesCursorImage *cursor = XFixesGetCursorImage(display)) {
        blank = true;
        for (int i = 0; i < cursor->width * cursor->height; ++i) {
            if ((cursor->pixels[i] >> 24) & 0xff)
                blank = false;
        }
        XFree(cursor);
    }
    XCloseDisplay(display);
    return blank;
}

void SaverProgramRun::dropKeyboardFocus()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return;
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
}
