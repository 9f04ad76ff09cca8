#ifndef QTSINGLEAPPLICATION_H
#define QTSINGLEAPPLICATION_H

#include <QApplication>
#include <QLockFile>

class QLocalServer;
class QLocalSocket;

// An application object that knows whether another instance of the same program
// already runs for the same user in the same display session, and passes text
// messages to it.
//
// Lock and socket live in the user's private runtime directory, under a name
// given by the program and the display session alone. The running instance is
// the one that answers on the socket; the lock only orders simultaneous starts.
// The lock of a crashed instance counts as free, so the next start takes over,
// also its stale socket; a lock file deleted under a running instance lets no
// second one in, as the running one still answers.
class QtSingleApplication : public QApplication
{
    Q_OBJECT

public:
    QtSingleApplication(int &argc, char **argv, bool guiEnabled = true);
    ~QtSingleApplication() override;

    bool isRunning() const;
    // Delivers the message to the running instance within timeoutMs; true when it
    // arrived there.
    bool sendMessage(const QString &message, int timeoutMs);

signals:
    void messageReceived(const QString &message);

private slots:
    void acceptConnection();

private:
    static QString instanceKey();
    bool becomeTheRunningInstance();
    bool anotherInstanceAnswers() const;
    void listen();
    void readMessage(QLocalSocket *socket);

    const QString serverName;
    QLockFile runningLock;
    bool otherInstanceRunning;
    QLocalServer *server = nullptr;
};

#endif
