#include "OfflineNetwork.h"

#include <QNetworkProxy>
#include <QTcpServer>

QByteArray OfflineNetwork::closedProxyUrl()
{
    // A port that was free a moment ago: nothing of this test listens there.
    static const QByteArray url = [] {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        return "http://127.0.0.1:" + QByteArray::number(probe.serverPort());
    }();
    return url;
}

void OfflineNetwork::install()
{
    qputenv("http_proxy", closedProxyUrl());
    qputenv("https_proxy", closedProxyUrl());
    qunsetenv("no_proxy");
    qunsetenv("NO_PROXY");
    const QUrl proxy(QString::fromLatin1(closedProxyUrl()));
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, proxy.host(), quint16(proxy.port())));
}

QProcessEnvironment OfflineNetwork::environment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : {QStringLiteral("http_proxy"), QStringLiteral("https_proxy")}) {
        if (!environment.contains(variable))
            environment.insert(variable, QString::fromLatin1(closedProxyUrl()));
    }
    return environment;
}
