#pragma once

#include <QString>

// One section of the recorder's INI file: a slot as the window's controls would set it up.
struct SlotConfig {
    QString name;   // the section's name
    int line = 0;   // where the section starts, for messages
    int number = 0; // 1, 2, ... in file order, the slot's Tag

    QString server;      // as typed in the window's server box
    bool odbcDsn = true; // Provider=ODBC; OLEDB is the ASE OLE DB provider
    QString user;
    QString password; // the first line of PasswordFile
    QString database;
    QString statement;
    int intervalSeconds = 0;
    bool delta = false; // the exported value is the change since the sample before
    QString valueName;  // empty: named from the first column, as the window does
    QString dataFile;
    QString rawFile;   // empty: no raw capture
    QString delimiter; // of the raw data file; empty for "^"

    // The string Connect would build from the same control strip.
    QString connectionString() const;
};
