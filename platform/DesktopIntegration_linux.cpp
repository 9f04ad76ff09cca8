#include "DesktopIntegration.h"

#include <QtPlatformHeaders/QXcbWindowFunctions>
#include <QDir>
#include <QScreen>
#include <QStandardPaths>
#include <QString>
#include <QWidget>
#include <QWindow>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

void DesktopIntegration::holdRunningMarker(const QString &name)
{
    // An exclusive lock on a file of that name in the user's runtime directory,
    // held until the process ends: "flock -n FILE true" fails while we run.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(dir);
    const QByteArray path = QFile::encodeName(dir + QLatin1Char('/') + name);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);   // the descriptor is left open on purpose
}

void DesktopIntegration::prepareDesktopWindow(QWidget *window)
{
    // A window manager raises a focused screen-sized window above the others unless
    // it is a desktop-type window, and the type only counts when set before mapping.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    window->winId();
    QXcbWindowFunctions::setWmWindowType(window->windowHandle(), QXcbWindowFunctions::Desktop);
    // Window managers do not make desktop-type windows full screen themselves.
    window->setGeometry(window->windowHandle()->screen()->geometry());
}
