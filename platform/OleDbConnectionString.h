#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

// An ODBC connection string in parts: driver and server; ";Database=<name>" or nothing; the
// credentials as written after "UID=" and "PWD=" (absent when the OLE DB string gives none).
struct OdbcLogin {
    QString connection;
    QString database;
    std::optional<QString> user;
    std::optional<QString> password;
};

// An OLE DB connection string ("Provider=...;User ID=...;...") read by OLE DB rules, and its
// translation into the ODBC connection string that opens the same server through unixODBC.
//
// Providers:
//   MSDASQL.1  -> DSN=<Data Source>;UID=<User ID>;PWD=<Password>;DATABASE=<database>
//   ASEOLEDB.1 -> <ASE driver part>;Servername=<Data Source> (a freetds.conf entry), or
//                 Server=<host>;Port=<port> when Data Source is "host:port";
//                 then ClientCharset=UTF-8;UID=...;PWD=...;Database=<database>
// The database is "Database" when present and not empty, otherwise "Initial Catalog".
// UID and PWD are written whenever "User ID" and "Password" are given, even empty, so a DSN's
// stored credentials never stand in for the ones typed.
//
// The ASE driver part is "DRIVER={FreeTDS};TDS_Version=5.0" (the driver as named in
// odbcinst.ini) unless the environment variable QUINTARO_ASE_ODBC_DRIVER is set and not empty:
// its value then replaces that part verbatim. It must begin with "DRIVER=" (a driver name from
// odbcinst.ini in braces, or the driver library's full path) or "DSN=" (an odbc.ini entry that
// names the driver), may add further driver options separated by ";", and must not end with
// ";", e.g. "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;TDS_Version=5.0;Timeout=30".
class OleDbConnectionString {
public:
    static constexpr const char *aseDriverVariable = "QUINTARO_ASE_ODBC_DRIVER";
    static constexpr const char *defaultAseDriver = "DRIVER={FreeTDS};TDS_Version=5.0";

    // Raises DatabaseError when the text is not a well-formed OLE DB string.
    explicit OleDbConnectionString(QStringView text);

    // Keys compare without regard to letter case; a later duplicate has replaced the earlier.
    bool contains(QStringView key) const;
    QString value(QStringView key) const; // empty when absent

    // The pairs in order of first appearance, keys as first written.
    const QList<std::pair<QString, QString>> &pairs() const { return entries_; }

    // The value as it must be written after "key=" so that it reads back unchanged.
    static QString quoteValue(const QString &value);

    // Raise DatabaseError for a provider other than the two above, and for a value the driver
    // cannot read back unchanged.
    OdbcLogin toOdbcLogin() const;
    // The whole string: connection, UID, PWD, database.
    QString toOdbc() const;

    // The string or value followed by ";" when it ends with "}", as FreeTDS reads a braced
    // value only up to "};".
    static QString closingBraced(const QString &odbc);

private:
    QString database() const;
    void set(QString key, QString value);

    QList<std::pair<QString, QString>> entries_;
};
