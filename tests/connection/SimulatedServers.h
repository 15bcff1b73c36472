#pragma once

#include "OdbcSandbox.h"
#include "SimServer.h"

#include <optional>

// Both personas running, reachable by name: ASE through an odbc.ini DSN (MSDASQL.1) and a
// freetds.conf entry (ASEOLEDB.1), SQL Server through a DSN. The ASE password holds ";".
struct SimulatedServers {
    static inline const QString asePassword = QStringLiteral("pa;ss");

    bool start()
    {
        sandbox.emplace();
        if (!ase.start() || !msSql.start())
            return false;
        aseDsn = OdbcSandbox::uniqueDsnName(QStringLiteral("AseDsn"));
        sandbox->addDsn(aseDsn, ase.port(), QStringLiteral("5.0"));
        aseServer = OdbcSandbox::uniqueDsnName(QStringLiteral("AseServer"));
        sandbox->addFreeTdsServer(aseServer, ase.port(), QStringLiteral("5.0"));
        msSqlDsn = OdbcSandbox::uniqueDsnName(QStringLiteral("MsSqlDsn"));
        sandbox->addDsn(msSqlDsn, msSql.port(), QStringLiteral("7.4"));
        return true;
    }
    void stop()
    {
        ase.stop();
        msSql.stop();
        sandbox.reset();
    }

    std::optional<OdbcSandbox> sandbox;
    SimServer ase{{SimServer::Persona::Ase, asePassword, {}, false}};
    SimServer msSql{{SimServer::Persona::MsSql, {}, {}, false}};
    QString aseDsn;
    QString aseServer;
    QString msSqlDsn;
};
