#include "LocalTimeZone.h"

#include <QFile>
#include <QtGlobal>
#include <ctime>

void keepLocalTimeZoneLoaded()
{
#ifdef Q_OS_UNIX
    if (qEnvironmentVariableIsSet("TZ") || !QFile::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", ":/etc/localtime");
    tzset();
#endif
}
