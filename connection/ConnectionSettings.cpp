#include "ConnectionSettings.h"

#include "OleDbConnectionString.h"

QString ConnectionSettings::connectionString() const
{
    const auto quoted = [](const QString &value) { return OleDbConnectionString::quoteValue(value); };
    const QString provider = odbcDsn ? QStringLiteral("Provider=MSDASQL.1") : QStringLiteral("Provider=ASEOLEDB.1");
    return provider + QStringLiteral(";Persist Security Info=False;User ID=") + quoted(user)
           + QStringLiteral(";Data Source=") + quoted(server)
           + QStringLiteral(";Initial Catalog=master;Password=") + quoted(password)
           + QStringLiteral(";Database=") + quoted(database);
}
