#pragma once

#include <QSqlDatabase>
#include <QString>

// One server connection, opened from an OLE DB connection string through Qt's ODBC driver.
// Queries bound to it must be destroyed before it, and all of it lives on one thread.
class TConnection {
public:
    // Bounds how long open() waits for a server that accepts the connection but never answers.
    // FreeTDS 1.3 keeps to it for TDS 7.x; with TDS 5.0 its logout after the time-out waits
    // again, five seconds at a time, so a silent ASE port still holds open(): only a caller on
    // another thread can stop waiting for it.
    static constexpr int loginTimeoutSeconds = 10;
    // The driver cancels a statement the server has not answered in this many seconds: 60, or
    // QUINTARO_QUERY_TIMEOUT. A Timeout= of the connection string's own wins.
    static int queryTimeoutSeconds();

    TConnection();
    ~TConnection();
    TConnection(const TConnection &) = delete;
    TConnection &operator=(const TConnection &) = delete;

    void setConnectionString(const QString &connectionString); // while closed
    QString connectionString() const { return oleDbString_; }

    // Raises DatabaseError with the driver's own message; never prompts for a login.
    void open();
    void close(); // harmless when closed
    bool connected() const;

    // The Qt connection the queries on this connection run on.
    QSqlDatabase database() const;

private:
    QString connectionName_;
    QString oleDbString_;
};
