#include "SlotConfig.h"

#include "ConnectionSettings.h"

QString SlotConfig::connectionString() const
{
    ConnectionSettings strip;
    strip.server = server;
    strip.database = database;
    strip.user = user;
    strip.password = password;
    strip.odbcDsn = odbcDsn;
    return strip.connectionString();
}
