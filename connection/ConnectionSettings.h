#pragma once

#include <QString>

// The connection settings of the control strip, exactly as typed, and the OLE DB connection
// string that the shared connection and every slot's connection open.
struct ConnectionSettings {
    QString server; // or the ODBC data source name
    QString database;
    QString user;
    QString password;
    bool odbcDsn = true; // "ODBC DSN" ticked: MSDASQL.1, otherwise ASEOLEDB.1

    // A value holding ";", "=", a quotation mark or outer blanks is quoted by OLE DB rules, so
    // that it reads back as typed instead of changing the string's meaning.
    QString connectionString() const;
};
