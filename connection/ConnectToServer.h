#pragma once

#include "MonitoringCatalogue.h"
#include "TWindowContext.h"

#include <QString>

class ConnectionView;
class SharedConnection;

// Connect: opens the shared connection with the connection string, shows the server process
// id, decides the server kind, clears the catalogue boxes, records the server in
// ServerList.ini and lists the monitoring tables. Each step is a request to the shared
// connection's worker and the next one starts when the server has answered; a failure ends it
// where it happens and the steps done stay done. A Connect still waiting makes this do nothing.
// The view outlives every answer.
void ConnectToServer(const QString &connectionString, ConnectionView &controls, SharedConnection &dblocal,
                     MonitoringCatalogue catalogue, TWindowContext context);
