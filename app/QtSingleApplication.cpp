#include "QtSingleApplication.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>

namespace {
const char acknowledgement = '\x06';
}

QtSingleApplication::QtSingleApplication(int &argc, char **argv, bool guiEnabled)
    : QApplication(argc, argv, guiEnabled)
    , serverName(instanceKey())
    , runningLock(QDir::tempPath() + QLatin1Char('/') + serverName + QStringLiteral(".lock"))
{
    // Only a lock whose owner has died is taken over, never one by age.
    runningLock.setStaleLockTime(0);
    otherInstanceRunning = !runningLock.tryLock(0);
    if (!otherInstanceRunning)
        listen();
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
    // The same program for the same user: the identity set at start-up and the
    // user's own runtime directory decide, not the caller.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QCoreApplication::organizationName().toUtf8() + '\n');
    hash.addData(QCoreApplication::applicationName().toUtf8() + '\n');
    hash.addData(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toUtf8() + '\n');
    hash.addData(QDir::homePath().toUtf8());
    return QCoreApplication::applicationName() + QLatin1Char('-')
            + QString::fromLatin1(hash.result().toHex().left(16));
}

void QtSingleApplication::listen()
{
    server = new QLocalServer;
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket of that name can only be a crashed one's.
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
