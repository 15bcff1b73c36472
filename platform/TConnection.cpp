#include "TConnection.h"

#include "DatabaseError.h"
#include "OleDbConnectionString.h"

#include <algorithm>
#include <atomic>
#include <optional>

namespace {

QString newConnectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("quintaro-connection-%1").arg(++count);
}

// What to hand Qt's ODBC driver so that the string it sends to SQLDriverConnect is exactly
// `odbc`: it passes a string through unchanged only when it holds "DRIVER=" or "SERVER=",
// prefixes "FILEDSN=" when it holds ".dsn" anywhere, and "DSN=" otherwise.
QString qtOdbcDatabaseName(const QString &odbc)
{
    if (odbc.contains(u".dsn", Qt::CaseInsensitive))
        throw DatabaseError(QStringLiteral("A server, data source or database name may not contain \".dsn\" "
                                           "(Qt would read it as a file DSN): %1")
                                .arg(odbc));
    if (odbc.contains(u"DRIVER=", Qt::CaseInsensitive) || odbc.contains(u"SERVER=", Qt::CaseInsensitive))
        return odbc;
    if (odbc.startsWith(u"DSN=", Qt::CaseInsensitive))
        return odbc.sliced(4);
    throw DatabaseError(
        QStringLiteral("The ODBC connection string must begin with DRIVER= or DSN=: %1").arg(odbc));
}

// A credential holding ".dsn" goes through Qt's user name or password, which Qt 6.4 appends
// verbatim after the string it inspects; any other stays in that string, where no Qt version
// requotes it.
void placeCredential(QString &odbc, QString &qtValue, const char *key, const std::optional<QString> &value)
{
    if (!value)
        return;
    if (value->contains(u".dsn", Qt::CaseInsensitive))
        qtValue = OleDbConnectionString::closingBraced(*value);
    else
        odbc += u';' + QString::fromLatin1(key) + u'=' + *value;
}

constexpr int defaultQueryTimeoutSeconds = 60;

bool namesQueryTimeout(const QString &odbc)
{
    const QStringList pairs = odbc.split(u';');
    return std::any_of(pairs.begin(), pairs.end(), [](const QString &pair) {
        return pair.section(u'=', 0, 0).trimmed().compare(u"Timeout", Qt::CaseInsensitive) == 0;
    });
}

QString withQueryTimeout(const QString &odbc)
{
    if (namesQueryTimeout(odbc))
        return odbc;
    return odbc + (odbc.endsWith(u';') || odbc.isEmpty() ? QString() : QStringLiteral(";"))
           + QStringLiteral("Timeout=%1").arg(TConnection::queryTimeoutSeconds());
}

} // namespace

int TConnection::queryTimeoutSeconds()
{
    bool whole = false;
    const int seconds = qEnvironmentVariableIntValue("QUINTARO_QUERY_TIMEOUT", &whole);
    return whole && seconds > 0 ? seconds : defaultQueryTimeoutSeconds;
}

TConnection::TConnection() : connectionName_(newConnectionName())
{
    QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName_);
}

TConnection::~TConnection()
{
    close();
    QSqlDatabase::removeDatabase(connectionName_);
}

void TConnection::setConnectionString(const QString &connectionString)
{
    oleDbString_ = connectionString;
}

QSqlDatabase TConnection::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

void TConnection::open()
{
    const OdbcLogin login = OleDbConnectionString(oleDbString_).toOdbcLogin();
    QSqlDatabase db = database();
    if (!db.isValid())
        throw DatabaseError(QStringLiteral("The Qt ODBC driver (QODBC) is not installed"));
    // Only the driver part may name its own time-out; a credential never can.
    QString odbc = withQueryTimeout(login.connection);
    QString user;
    QString password;
    placeCredential(odbc, user, "UID", login.user);
    placeCredential(odbc, password, "PWD", login.password);
    db.setDatabaseName(qtOdbcDatabaseName(OleDbConnectionString::closingBraced(odbc + login.database)));
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(loginTimeoutSeconds));
    if (!db.open())
        throw DatabaseError::fromSqlError(db.lastError());
}

void TConnection::close()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
}

bool TConnection::connected() const
{
    return database().isOpen();
}
