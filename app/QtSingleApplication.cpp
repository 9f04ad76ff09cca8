#include "QtSingleApplication.h"

#include "DesktopIntegration.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QtEndian>

namespace {
const char acknowledgement = '\x06';
}

QtSingleApplication::QtSingleApplication(int &argc, char **argv, bool guiEnabled)
    : QApplication(argc, argv, guiEnabled)
    , serverName(DesktopIntegration::privateRuntimePath(instanceKey()))
    , runningLock(serverName + QStringLiteral(".lock"))
{
    otherInstanceRunning = !becomeTheRunningInstance();
}

QtSingleApplication::~QtSingleApplication()
{
    delete server;
}

bool QtSingleApplication::isRunning() const
{
    return otherInstanceRunning;
}

QString QtSingleApplication::instanceKey()
{
    // The same program in the same display session: the identity set at start-up
    // and the display decide, not paths that the environment can move. The user
    // is given by the private directory the key is used in.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QCoreApplication::organizationName().toUtf8() + '\n');
    hash.addData(QCoreApplication::applicationName().toUtf8() + '\n');
    hash.addData(DesktopIntegration::displaySession().toUtf8());
    return QCoreApplication::applicationName() + QLatin1Char('-')
            + QString::fromLatin1(hash.result().toHex().left(16));
}

bool QtSingleApplication::becomeTheRunningInstance()
{
    // Nowhere private to meet: better two instances than one that others can
    // stop or listen to.
    if (serverName.isEmpty())
        return true;
    // Only a lock whose owner has died is taken over, never one by age.
    runningLock.setStaleLockTime(0);
    if (!runningLock.tryLock(0))
        return false;
    if (anotherInstanceAnswers()) {
        runningLock.unlock();
        return false;
    }
    listen();
    return true;
}

bool QtSingleApplication::anotherInstanceAnswers() const
{
    // An instance whose lock file was deleted still listens on its socket.
    QLocalSocket socket;
    socket.connectToServer(serverName);
    return socket.waitForConnected(1000);
}

void QtSingleApplication::listen()
{
    server = new QLocalServer;
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock and nobody answers, so a socket of that name can only be
    // a crashed one's.
    QLocalServer::removeServer(serverName);
    server->listen(serverName);
    connect(server, &QLocalServer::newConnection, this, &QtSingleApplication::acceptConnection);
}

void QtSingleApplication::acceptConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        readMessage(socket);
    }
}

void QtSingleApplication::readMessage(QLocalSocket *socket)
{
    // Each message is a 32-bit length followed by that many bytes of UTF-8.
    quint32 length = 0;
    if (socket->bytesAvailable() < qint64(sizeof length))
        return;
    socket->peek(reinterpret_cast<char *>(&length), sizeof length);
    length = qFromBigEndian(length);
    if (socket->bytesAvailable() < qint64(sizeof length) + length)
        return;
    socket->skip(sizeof length);
    const QString message = QString::fromUtf8(socket->read(length));
    socket->write(&acknowledgement, 1);
    socket->flush();
    emit messageReceived(message);
}

bool QtSingleApplication::sendMessage(const QString &message, int timeoutMs)
{
    if (!otherInstanceRunning)
        return false;
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The running instance may hold the lock but not listen yet: try again.
    for (;;) {
        socket.connectToServer(serverName);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    const QByteArray text = message.toUtf8();
    const quint32 length = qToBigEndian(quint32(text.size()));
    socket.write(reinterpret_cast<const char *>(&length), sizeof length);
    socket.write(text);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    socket.getChar(&answer);
    return answer == acknowledgement;
}
