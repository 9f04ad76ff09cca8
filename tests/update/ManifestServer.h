#ifndef MANIFESTSERVER_H
#define MANIFESTSERVER_H

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP server on 127.0.0.1 that answers every request with one set
// response. Programs reach it as their HTTP proxy (http_proxy), so they ask
// for their own fixed URLs unchanged and the server sees those URLs in the
// request lines.
class ManifestServer : public QTcpServer
{
    Q_OBJECT

public:
    explicit ManifestServer(QObject *parent = nullptr);

    bool start();
    // The value for http_proxy.
    QByteArray proxyUrl() const;

    // withLength false leaves out Content-Length: the body then ends where the
    // connection closes.
    void setResponse(int status, const QByteArray &body, bool withLength = true);

    // The request lines received so far ("GET http://host/path HTTP/1.1").
    QList<QByteArray> requestLines() const;

private:
    void answer(QTcpSocket *socket);

    int status = 200;
    QByteArray body;
    bool withLength = true;
    QList<QByteArray> requests;
};

#endif
