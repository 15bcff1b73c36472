#include "ServerSteps.h"

#include "TConnection.h"
#include "TQuery.h"

namespace ServerSteps {

void login(TConnection &connection, TQuery &query, const QString &connectionString)
{
    query.close();
    connection.close();
    connection.setConnectionString(connectionString);
    connection.open();
}

QString processId(TQuery &query)
{
    query.setStatement({QStringLiteral("select @@spid SPID")});
    query.open();
    const QString spid = query.fieldByName(QStringLiteral("SPID"));
    query.close();
    return spid;
}

} // namespace ServerSteps
