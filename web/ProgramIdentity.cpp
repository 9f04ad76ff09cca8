#include "ProgramIdentity.h"

#include <QCoreApplication>

const QString ProgramIdentity::organisationName = QStringLiteral("Morvaleen");
const QString ProgramIdentity::organisationDomain = QStringLiteral("morvaleen.de");

void ProgramIdentity::apply(const QString &applicationName)
{
    QCoreApplication::setOrganizationName(organisationName);
    QCoreApplication::setOrganizationDomain(organisationDomain);
    QCoreApplication::setApplicationName(applicationName);
}
