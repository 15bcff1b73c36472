#pragma once

// The real clients the simulated server must satisfy, each run the way a user or the program
// runs it: FreeTDS's tsql, and Qt SQL's QODBC driver through unixODBC and FreeTDS's driver.

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct SqlAnswer {
    bool loggedIn = false;
    QStringList columns;
    QList<QStringList> rows; // a NULL cell is SqlClients::null
    int errorNumber = 0;     // the server's message number, 0 when the statement worked
    QString errorText;       // the server's own text (login failures included)
};

class SqlClients {
public:
    static const QString null;

    // tsql -S <freetds.conf entry>; the batch is `statement` followed by "go".
    static SqlAnswer tsql(const QString &server, const QString &password, const QString &statement,
                          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    // `databaseName` as QSqlDatabase::setDatabaseName takes it: a DSN or a DRIVER= string.
    static SqlAnswer qodbc(const QString &databaseName, const QString &password, const QString &statement);
};
