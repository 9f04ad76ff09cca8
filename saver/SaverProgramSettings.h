#ifndef SAVERPROGRAMSETTINGS_H
#define SAVERPROGRAMSETTINGS_H

#include <QString>

// The screensaver's name in its settings store's path: a store of its own,
// apart from the desktop program's, holding only its pages' cookies
// (SaveNetworkCookieJar).
namespace SaverProgramSettings {

inline const QString applicationName = QStringLiteral("ZintelloSaver");

}

#endif
