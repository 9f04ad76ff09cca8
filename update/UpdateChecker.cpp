#include "UpdateChecker.h"

#include "BoundedInflate.h"
#include "JsonCodec.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QGridLayout>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QSettings>
#include <QSpacerItem>

const QString UpdateChecker::manifestUrl = QStringLiteral("http://www.morvaleen.de/update.json");
const QString UpdateChecker::productSiteUrl = QStringLiteral("http://zintello.morvaleen.de/");

namespace {

const qint64 readAheadSize = 64 * 1024;

// The manifest is read byte by byte as Latin-1 up to the first zero byte.
// Even an empty body must give empty, not null, text: null text would count
// as well-formed.
QString manifestText(const QByteArray &body)
{
    const int end = body.indexOf('\0');
    QString text = QString::fromLatin1(end < 0 ? body : body.left(end));
    if (text.isNull())
        text = QStringLiteral("");
    return text;
}

} // namespace

UpdateChecker::UpdateChecker(QObject *parent)
    : QObject(parent)
    , networkManager(new QNetworkAccessManager(this))
{
    connect(networkManager, &QNetworkAccessManager::finished, this, &UpdateChecker::replyFinished);
}

QString UpdateChecker::selectUpdate(const QVariantMap &manifest, const QStringList &ignoredKeys,
                                    const QDateTime &lastUpdateMessage, const QDateTime &now)
{
    QStringList keys;
    for (const QString &key : manifest.keys()) {
        if (!ignoredKeys.contains(key))
            keys.append(key);
    }
    if (keys.isEmpty())
        return QString();

    const QString key = keys.last();
    const float version = manifest.value(key).toMap().value(QStringLiteral("Version")).toFloat();
    // Written as "not above" so that a version such as "nan" is not offered.
    if (!(version > versionThreshold))
        return QString();

    if (lastUpdateMessage.isValid() && lastUpdateMessage.secsTo(now) <= quietSeconds)
        return QString();
    return key;
}

QUrl UpdateChecker::downloadUrl(const QVariantMap &entry)
{
    const QUrl url(entry.value(QStringLiteral("ActionUrl"), productSiteUrl).toString());
    // Whoever controls the manifest, or the plain-HTTP way to it, must not be
    // able to open local files or other handlers on this machine.
    if (url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")))
        return url;
    return QUrl(productSiteUrl);
}

void UpdateChecker::checkForUpdates()
{
    QNetworkRequest request{QUrl(manifestUrl)};
    // Asked for by us, a compressed body is left as it came and inflated in
    // replyFinished(), where it counts by its inflated size; Qt would inflate
    // all of it first.
    request.setRawHeader("Accept-Encoding", "gzip, deflate");
    QNetworkReply *reply = networkManager->get(request);
    // Qt reads no further ahead than this, so the body in memory never exceeds
    // the cap by more than one read; a larger one is stopped as soon as it does.
    // The aborted reply still finishes, with nothing left to read. Progress
    // signals come at most every 100 ms and none once the buffer is full, so the
    // size is looked at whenever data arrives.
    reply->setReadBufferSize(maxManifestSize + readAheadSize);
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->bytesAvailable() > maxManifestSize)
            reply->abort();
    });
}

void UpdateChecker::replyFinished(QNetworkReply *reply)
{
    // No answer at all (offline, no name server, refused): that is no manifest
    // to blame. Answers with an error status are still read, as they come.
    const QNetworkReply::NetworkError error = reply->error();
    if (error != QNetworkReply::NoError && error != QNetworkReply::OperationCanceledError
        && error < QNetworkReply::ContentAccessDenied) {
        qDebug("Update check failed: %s", qPrintable(reply->errorString()));
        reply->deleteLater();
        return;
    }
    // A reply aborted for its size is closed and has nothing to read.
    QByteArray body = reply->isOpen() ? reply->read(maxManifestSize + 1) : QByteArray();
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    reply->deleteLater();

    bool parsed = body.size() <= maxManifestSize;
    if (parsed && !encoding.isEmpty() && encoding != "identity") {
        const QByteArray compressed = body;
        parsed = BoundedInflate::inflate(compressed, int(maxManifestSize), body);
    }
    QVariantMap manifest;
    if (parsed)
        manifest = JsonCodec::decode(manifestText(body), parsed).toMap();
    if (!parsed) {
        qDebug("Error while parsing json");
        return;
    }

    const QString key = selectUpdate(manifest);
    if (key.isEmpty())
        return;

    const bool answer = showUpdateMessage(manifest.value(key).toMap());

    QSettings settings;
    if (answer) {
        settings.setValue(lastUpdateMessageKey, QDateTime::currentDateTime());
    } else {
        QStringList ignoredKeys = settings.value(ignoredKeysKey).toStringList();
        ignoredKeys.append(key);
        settings.setValue(ignoredKeysKey, ignoredKeys);
    }
}

QString UpdateChecker::selectUpdate(const QVariantMap &manifest) const
{
    QSettings settings;
    return selectUpdate(manifest, settings.value(ignoredKeysKey).toStringList(),
                        settings.value(lastUpdateMessageKey).toDateTime(),
                        QDateTime::currentDateTime());
}

bool UpdateChecker::showUpdateMessage(const QVariantMap &entry)
{
    QMessageBox box;

    const QString title = entry.value(QStringLiteral("Title"), tr("A new version of ZINTELLO is available")).toString();
    const QString versionText = entry.value(QStringLiteral("Version")).toString();
    const QString info = entry.contains(QStringLiteral("Info"))
        ? entry.value(QStringLiteral("Info")).toString()
        : tr("ZINTELLO %1 is now available - you have %2. Would you like to download it now?")
              .arg(versionText, QStringLiteral(ZINTELLO_VERSION));
    const QString notes = entry.value(QStringLiteral("ReleaseNotes")).toString();

    QPushButton *ignoreButton = box.addButton(tr("Ignore"), QMessageBox::NoRole);
    QPushButton *remindButton = box.addButton(tr("Remind me later"), QMessageBox::DestructiveRole);
    QPushButton *downloadButton = box.addButton(tr("Download..."), QMessageBox::YesRole);
    box.setDefaultButton(downloadButton);
    box.setEscapeButton(remindButton);

    box.setText(title);
    box.setInformativeText(info);
    box.setDetailedText(notes);
    box.setIcon(QMessageBox::Information);

    // The box rebuilds its layout whenever its texts or icon change, so the
    // row that widens it goes in last.
    if (auto *layout = qobject_cast<QGridLayout *>(box.layout())) {
        layout->addItem(new QSpacerItem(messageMinimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                        layout->rowCount(), 0, 1, layout->columnCount());
    }

    box.exec();

    if (box.clickedButton() == downloadButton) {
        QDesktopServices::openUrl(downloadUrl(entry));
        return true;
    }
    // Escape and closing the box count as "Remind me later".
    return box.clickedButton() != ignoreButton;
}
