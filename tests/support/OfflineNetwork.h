#ifndef OFFLINENETWORK_H
#define OFFLINENETWORK_H

#include <QByteArray>
#include <QProcessEnvironment>

// Keeps a test and the programs it starts off the net. The desktop program asks
// the maker's site for updates at every start and the pages may name web
// addresses: every web request goes to a proxy on this machine where nothing
// listens, so it is refused as when offline.
class OfflineNetwork
{
public:
    // The proxy URL on a closed port of 127.0.0.1.
    static QByteArray closedProxyUrl();

    // This process's web requests go to the closed proxy, and so do those of
    // the programs it starts (http_proxy, https_proxy).
    static void install();

    // The environment for a program the test starts: the closed proxy unless the
    // test gave the programs a proxy of its own (a local server).
    static QProcessEnvironment environment();

private:
    OfflineNetwork() = delete;
};

#endif
