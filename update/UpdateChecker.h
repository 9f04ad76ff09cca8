#ifndef UPDATECHECKER_H
#define UPDATECHECKER_H

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include "ZintelloVersion.h"

class QDateTime;
class QNetworkAccessManager;
class QNetworkReply;

// Asks the maker's web site whether a newer version exists and offers it in a
// message box with "Ignore", "Remind me later" and "Download...".
//
// The manifest is a JSON object whose member names are update keys and whose
// values describe one release each ("Version", "Title", "Info",
// "ReleaseNotes", "ActionUrl"). Only the greatest key that the user has not
// ignored is looked at. An ignored key joins "ignoredKeys" in the settings
// store for good; any other answer is stored as "lastUpdateMessage" and keeps
// the checker quiet for 36 hours. Failures are silent for the user.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    static const QString manifestUrl;
    static const QString productSiteUrl;
    // Its entries in the program's settings store.
    static inline const QString ignoredKeysKey = QStringLiteral("ignoredKeys");
    static inline const QString lastUpdateMessageKey = QStringLiteral("lastUpdateMessage");
    // Versions up to a thousandth above this program's are not newer.
    static constexpr double versionThreshold = ZINTELLO_VERSION_NUMBER + 0.001;
    static const qint64 quietSeconds = 129600;
    static const int messageMinimumWidth = 500;
    // A manifest is a few hundred bytes; a larger body is not read.
    static const qint64 maxManifestSize = 1024 * 1024;

    explicit UpdateChecker(QObject *parent);

    // The key to offer, or empty text: the decision of a check, given the
    // manifest, the ignored keys, the time of the last answer and the time now.
    static QString selectUpdate(const QVariantMap &manifest, const QStringList &ignoredKeys,
                                const QDateTime &lastUpdateMessage, const QDateTime &now);

    // What "Download..." opens for a manifest entry.
    static QUrl downloadUrl(const QVariantMap &entry);

public slots:
    void checkForUpdates();

private slots:
    void replyFinished(QNetworkReply *reply);

private:
    QString selectUpdate(const QVariantMap &manifest) const;
    bool showUpdateMessage(const QVariantMap &entry);

    QNetworkAccessManager *networkManager;
};

#endif
