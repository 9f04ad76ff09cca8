#ifndef PROGRAMIDENTITY_H
#define PROGRAMIDENTITY_H

#include <QString>

// Who the programs are to Qt. The organisation and the application name place
// each program's settings store; the two programs share the organisation.
class ProgramIdentity
{
public:
    static const QString organisationName;
    static const QString organisationDomain;

    // Names this process; every settings store opened afterwards is the named program's.
    static void apply(const QString &applicationName);

private:
    ProgramIdentity() = delete;
};

#endif
