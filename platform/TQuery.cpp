#include "TQuery.h"

#include "DatabaseError.h"
#include "FieldText.h"
#include "TConnection.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QSqlResult>
#include <sql.h>
#include <sqlext.h>

namespace {

// The server's names, with "COLUMN" + k for a column without one and "_" + k after a name
// already taken, k the smallest number from 1 that makes the name unique in the result.
QStringList uniqueFieldNames(const QSqlRecord &record)
{
    QStringList names;
    const auto taken = [&names](const QString &name) {
        return names.contains(name, Qt::CaseInsensitive);
    };
    for (int column = 0; column < record.count(); ++column) {
        QString name = record.fieldName(column);
        if (name.isEmpty() || taken(name)) {
            const QString stem = name.isEmpty() ? QStringLiteral("COLUMN") : name + u'_';
            int k = 1;
            do
                name = stem + QString::number(k++);
            while (taken(name));
        }
        names.append(name);
    }
    return names;
}

// Qt keeps the SQLSTATE to itself; the statement's first diagnostic record still has it.
QString sqlStateOf(const QSqlQuery &query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "SQLHANDLE") != 0)
        return {};
    SQLHANDLE statement = *static_cast<const SQLHANDLE *>(handle.data());
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    if (!statement || !SQL_SUCCEEDED(SQLGetDiagRec(SQL_HANDLE_STMT, statement, 1, state, &nativeError, nullptr, 0,
                                                   &length)))
        return {};
    return QString::fromLatin1(reinterpret_cast<const char *>(state));
}

} // namespace

TQuery::TQuery(TConnection &connection) : connection(connection)
{
}

void TQuery::close()
{
    query.reset();
    fieldNames.clear();
    onRow = false;
}

void TQuery::clear()
{
    lines.clear();
}

void TQuery::add(const QString &line)
{
    lines.append(line);
}

void TQuery::run()
{
    close();
    if (!connection.connected())
        connection.open();
    query.emplace(connection.database());
    query->setForwardOnly(true);
    // Floating and decimal columns arrive as doubles, so their text is the shortest exact one.
    query->setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!query->exec(sql()))
        fail();
}

void TQuery::open()
{
    run();
    // Row counts and other results without columns come before the rows a batch selects.
    while (!query->isSelect() && query->nextResult()) {
    }
    if (!query->isSelect()) {
        close();
        throw DatabaseError(QStringLiteral("The statement returned no result set"));
    }
    fieldNames = uniqueFieldNames(query->record());
    next();
}

void TQuery::fail()
{
    const DatabaseError error = DatabaseError::fromSqlError(query->lastError(), sqlStateOf(*query));
    close();
    throw error;
}

void TQuery::execSQL()
{
    run();
    close();
}

void TQuery::next()
{
    if (!query)
        return;
    onRow = query->next();
    if (!onRow && query->lastError().isValid())
        fail();
}

QString TQuery::fieldByName(const QString &name) const
{
    qsizetype column = fieldNames.size() - 1;
    while (column >= 0 && fieldNames[column].compare(name, Qt::CaseInsensitive) != 0)
        --column;
    if (column < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    if (!onRow)
        return {};
    const int index = int(column);
    return FieldText::fromValue(query->value(index), query->isNull(index));
}

void TQuery::getFieldNames(QStringList &names) const
{
    names.append(fieldNames);
}
