#pragma once

#include <QString>

class TConnection;
class TQuery;

// The steps the shared connection and every slot's connection take alike, on their worker.
namespace ServerSteps {

// Closes whatever was open and logs in afresh with the connection string; never prompts.
void login(TConnection &connection, TQuery &query, const QString &connectionString);
// "select @@spid SPID": the server process id of the connection.
QString processId(TQuery &query);

} // namespace ServerSteps
