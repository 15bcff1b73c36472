#pragma once

#include "TWindowContext.h"

#include <QString>

class MonitoringCatalogue;
class QComboBox;
class TConnection;
class TQuery;

// Connect: opens the shared connection with the connection string, shows the server process
// id, decides the server kind, clears the catalogue boxes, records the server in
// ServerList.ini and lists the monitoring tables. A failure ends it where it happens; the
// steps done stay done.
void ConnectToServer(const QString &connectionString, QComboBox *edSRV, TConnection &dblocal, TQuery &qryDynamic,
                     MonitoringCatalogue &catalogue, TWindowContext context);
