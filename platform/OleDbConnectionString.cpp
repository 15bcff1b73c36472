#include "OleDbConnectionString.h"

#include "DatabaseError.h"

#include <QRegularExpression>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool hasOuterBlank(const QString &value)
{
    return !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
}

// FreeTDS 1.3 ends a braced value at the first "}" followed by ";" (one at the very end of the
// string keeps its "}") and takes no "}}" escape. So a value is braced only when it must be,
// one holding "};" cannot be braced at all, and a braced value is always followed by ";".
QString odbcValue(const QString &name, const QString &value)
{
    const bool needsBraces = value.contains(u';') || (!value.isEmpty() && (value.front() == u'{'
                                                                            || isBlank(value.front())
                                                                            || isBlank(value.back())));
    if (!needsBraces)
        return value;
    if (value.contains(QStringLiteral("};")))
        throw DatabaseError(QStringLiteral("The %1 cannot be passed to the ODBC driver: it holds \"};\"")
                                .arg(name));
    return u'{' + value + u'}';
}

// DatabaseError masks the password the text may hold.
DatabaseError malformed(QStringView text, const char *reason)
{
    return DatabaseError(QStringLiteral("Malformed connection string (%1): %2")
                             .arg(QString::fromLatin1(reason), text.toString()));
}

} // namespace

OleDbConnectionString::OleDbConnectionString(QStringView text)
{
    qsizetype at = 0;
    const qsizetype end = text.size();
    while (at < end) {
        while (at < end && (isBlank(text[at]) || text[at] == u';'))
            ++at;
        if (at == end)
            break;

        // A key runs to the first single "="; "==" stands for an "=" inside the key.
        QString key;
        for (;;) {
            if (at == end || text[at] == u';')
                throw malformed(text, "a key without \"=\"");
            if (text[at] == u'=') {
                if (at + 1 < end && text[at + 1] == u'=') {
                    key += u'=';
                    at += 2;
                    continue;
                }
                ++at;
                break;
            }
            key += text[at++];
        }
        key = key.trimmed();

        while (at < end && isBlank(text[at]))
            ++at;
        QString value;
        if (at < end && (text[at] == u'"' || text[at] == u'\'')) {
            const QChar quote = text[at++];
            for (;;) {
                if (at == end)
                    throw malformed(text, "an unterminated quoted value");
                if (text[at] == quote) {
                    if (at + 1 < end && text[at + 1] == quote) {
                        value += quote;
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                value += text[at++];
            }
            while (at < end && isBlank(text[at]))
                ++at;
            if (at < end && text[at] != u';')
                throw malformed(text, "text after a quoted value");
        } else {
            const qsizetype start = at;
            while (at < end && text[at] != u';')
                ++at;
            value = text.sliced(start, at - start).toString().trimmed();
        }
        set(std::move(key), std::move(value));
    }
}

void OleDbConnectionString::set(QString key, QString value)
{
    for (auto &entry : entries_) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::move(key), std::move(value));
}

bool OleDbConnectionString::contains(QStringView key) const
{
    for (const auto &entry : entries_)
        if (QStringView(entry.first).compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString OleDbConnectionString::value(QStringView key) const
{
    for (const auto &entry : entries_)
        if (QStringView(entry.first).compare(key, Qt::CaseInsensitive) == 0)
            return entry.second;
    return {};
}

QString OleDbConnectionString::quoteValue(const QString &value)
{
    static const QRegularExpression needsQuotes(QStringLiteral("[;=\"']"));
    if (!value.contains(needsQuotes) && !hasOuterBlank(value))
        return value;
    if (!value.contains(u'"'))
        return u'"' + value + u'"';
    if (!value.contains(u'\''))
        return u'\'' + value + u'\'';
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QString OleDbConnectionString::database() const
{
    const QString named = value(u"Database");
    return named.isEmpty() ? value(u"Initial Catalog") : named;
}

OdbcLogin OleDbConnectionString::toOdbcLogin() const
{
    const QString provider = value(u"Provider");
    // Server and data source names never hold outer blanks; a stray one typed into the server
    // box must not make the name unknown.
    const QString dataSource = value(u"Data Source").trimmed();
    const QString db = database();
    OdbcLogin login;
    if (contains(u"User ID"))
        login.user = odbcValue(QStringLiteral("user name"), value(u"User ID"));
    if (contains(u"Password"))
        login.password = odbcValue(QStringLiteral("password"), value(u"Password"));

    if (provider.compare(u"MSDASQL.1", Qt::CaseInsensitive) == 0) {
        login.connection = QStringLiteral("DSN=") + odbcValue(QStringLiteral("data source"), dataSource);
        if (!db.isEmpty())
            login.database = QStringLiteral(";DATABASE=") + odbcValue(QStringLiteral("database"), db);
        return login;
    }

    if (provider.compare(u"ASEOLEDB.1", Qt::CaseInsensitive) == 0) {
        QString odbc = qEnvironmentVariable(aseDriverVariable);
        if (odbc.isEmpty())
            odbc = QString::fromLatin1(defaultAseDriver);
        static const QRegularExpression hostAndPort(QStringLiteral("^(.+):(\\d+)$"));
        const QRegularExpressionMatch match = hostAndPort.match(dataSource);
        if (match.hasMatch())
            odbc += QStringLiteral(";Server=") + odbcValue(QStringLiteral("server name"), match.captured(1))
                    + QStringLiteral(";Port=") + match.captured(2);
        else
            odbc += QStringLiteral(";Servername=") + odbcValue(QStringLiteral("server name"), dataSource);
        login.connection = odbc + QStringLiteral(";ClientCharset=UTF-8");
        if (!db.isEmpty())
            login.database = QStringLiteral(";Database=") + odbcValue(QStringLiteral("database"), db);
        return login;
    }

    throw DatabaseError(
        QStringLiteral("The OLE DB provider \"%1\" is not supported; use ASEOLEDB.1 or MSDASQL.1")
            .arg(provider));
}

QString OleDbConnectionString::toOdbc() const
{
    const OdbcLogin login = toOdbcLogin();
    QString odbc = login.connection;
    if (login.user)
        odbc += QStringLiteral(";UID=") + *login.user;
    if (login.password)
        odbc += QStringLiteral(";PWD=") + *login.password;
    return closingBraced(odbc + login.database);
}

QString OleDbConnectionString::closingBraced(const QString &odbc)
{
    return odbc.endsWith(u'}') ? odbc + u';' : odbc;
}
