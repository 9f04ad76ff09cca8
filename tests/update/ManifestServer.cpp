#include "ManifestServer.h"

#include <QHostAddress>
#include <QTcpSocket>

ManifestServer::ManifestServer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool ManifestServer::start()
{
    return listen(QHostAddress::LocalHost);
}

QByteArray ManifestServer::proxyUrl() const
{
    return "http://127.0.0.1:" + QByteArray::number(serverPort());
}

void ManifestServer::setResponse(int status, const QByteArray &body, bool withLength)
{
    this->status = status;
    this->body = body;
    this->withLength = withLength;
}

QList<QByteArray> ManifestServer::requestLines() const
{
    return requests;
}

void ManifestServer::answer(QTcpSocket *socket)
{
    // The whole head of a GET request, then one answer per connection.
    if (socket->property("answered").toBool() || !socket->peek(64 * 1024).contains("\r\n\r\n"))
        return;
    socket->setProperty("answered", true);
    const QByteArray head = socket->readAll();
    requests.append(head.left(head.indexOf("\r\n")));

    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\n"
                          "Content-Type: application/json\r\n"
                          "Connection: close\r\n";
    if (withLength)
        response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    response += "\r\n" + body;
    socket->write(response);
    socket->disconnectFromHost();
}
