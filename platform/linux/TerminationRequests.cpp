#include "TerminationRequests.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A signal handler may only write to a pipe; the event loop reads the other end.
int signalPipe[2] = {-1, -1};
}

void TerminationRequests::quitApplicationOnThem()
{
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    new TerminationRequests(QCoreApplication::instance());
    struct sigaction action = {};
    action.sa_handler = &TerminationRequests::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    std::atexit(&TerminationRequests::onExitWithoutQuit);
}

TerminationRequests::TerminationRequests(QObject *parent)
    : QObject(parent)
    , notifier(new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this))
{
    connect(notifier, &QSocketNotifier::activated, this, &TerminationRequests::quit);
}

void TerminationRequests::onSignal(int)
{
    const char byte = 1;
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    (void)written;
}

void TerminationRequests::onExitWithoutQuit()
{
    // After an orderly end the application object is gone before the process
    // exits; only an exit() from inside the event loop finds it still there.
    if (QCoreApplication *application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, "aboutToQuit", Qt::DirectConnection);
}

void TerminationRequests::quit()
{
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}
