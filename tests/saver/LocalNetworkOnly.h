#ifndef LOCALNETWORKONLY_H
#define LOCALNETWORKONLY_H

#include <QNetworkProxy>
#include <QTcpServer>

// The settings form names the maker's site as its first address, which the
// dialog replaces at once; the request for it still starts. Sending every web
// request (of this process, and through the standard http_proxy variable of the
// programs it starts) to a closed port on 127.0.0.1 keeps the tests off the net.
class LocalNetworkOnly
{
public:
    static void install()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 closedPort = probe.serverPort();
        probe.close();
        const QByteArray proxy = "http://127.0.0.1:" + QByteArray::number(closedPort);
        qputenv("http_proxy", proxy);
        qputenv("https_proxy", proxy);
        qunsetenv("no_proxy");
        QNetworkProxy::setApplicationProxy(
                    QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), closedPort));
    }
};

#endif
