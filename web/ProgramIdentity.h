#ifndef PROGRAMIDENTITY_H
#define PROGRAMIDENTITY_H

#include <QCoreApplication>
#include <QString>

// Who the programs are to Qt. The organisation and the application name place
// each program's settings store; the two programs share the organisation.
// Header-only, so that tests reading a program's store need no library.
class ProgramIdentity
{
public:
    static QString organisationName() { return QStringLiteral("Morvaleen"); }
    static QString organisationDomain() { return QStringLiteral("morvaleen.de"); }

    // Names this process; every settings store opened afterwards is the named program's.
    static void apply(const QString &applicationName)
    {
        QCoreApplication::setOrganizationName(organisationName());
        QCoreApplication::setOrganizationDomain(organisationDomain());
        QCoreApplication::setApplicationName(applicationName);
    }

private:
    ProgramIdentity() = delete;
};

#endif
