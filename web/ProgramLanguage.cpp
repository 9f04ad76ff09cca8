#include "ProgramLanguage.h"

#include "SaveNetworkCookieJar.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QNetworkCookie>
#include <QSettings>
#include <QTranslator>
#include <QUrl>

namespace {

const QLatin1String english("en");

QString translationFile(const QString &language)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations/zintello_")
           + language + QStringLiteral(".qm");
}

bool isSpoken(const QString &language)
{
    return language == english
           || (language.size() == 2 && language.at(0).isLower() && language.at(1).isLower()
               && QFileInfo::exists(translationFile(language)));
}

QTranslator &ownTexts()
{
    static QTranslator translator;
    return translator;
}

QTranslator &qtTexts()
{
    static QTranslator translator;
    return translator;
}

QString &currentLanguage()
{
    static QString language;
    return language;
}

} // namespace

QString ProgramLanguage::chosenIn(const QList<QNetworkCookie> &cookies)
{
    for (const QNetworkCookie &cookie : cookies) {
        if (cookie.name() != "language")
            continue;
        const QString language = QUrl::fromPercentEncoding(cookie.value());
        return isSpoken(language) ? language : QString();
    }
    return QString();
}

QString ProgramLanguage::stored()
{
    return chosenIn(QNetworkCookie::parseCookies(QSettings().value(SaveNetworkCookieJar::cookiesKey).toByteArray()));
}

void ProgramLanguage::apply(const QString &language)
{
    const QString systemLanguage = QLocale::system().name().left(2);
    const QString wanted = !language.isEmpty() ? language
                           : isSpoken(systemLanguage) ? systemLanguage : QString(english);
    if (wanted == currentLanguage())
        return;
    currentLanguage() = wanted;

    QCoreApplication::removeTranslator(&ownTexts());
    QCoreApplication::removeTranslator(&qtTexts());
    // The pages ask the engine for the language when they have no cookie; it
    // answers with the default locale.
    QLocale::setDefault(language.isEmpty() ? QLocale::system() : QLocale(wanted));
    if (wanted == english)
        return;
    if (ownTexts().load(translationFile(wanted)))
        QCoreApplication::installTranslator(&ownTexts());
    if (qtTexts().load(QStringLiteral("qtbase_") + wanted, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts());
}

QString ProgramLanguage::current()
{
    return currentLanguage();
}
