#include "TQuery.h"

#include "DatabaseError.h"
#include "FieldText.h"
#include "TConnection.h"
#include "TextTable.h"

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

TQuery::TQuery(TConnection &connection) : connection_(connection)
{
}

void TQuery::close()
{
    query_.reset();
    fieldNames_.clear();
    onRow_ = false;
}

void TQuery::clear()
{
    lines_.clear();
}

void TQuery::add(const QString &line)
{
    lines_.append(line);
}

void TQuery::setStatement(const QStringList &lines)
{
    close();
    clear();
    add(QStringLiteral("/**/"));
    for (const QString &line : lines)
        add(line);
}

void TQuery::readRows(TextTable &rows)
{
    rows = TextTable(fieldNames_);
    while (!eof()) {
        for (const QString &name : std::as_const(fieldNames_))
            rows.append(fieldByName(name));
        next();
    }
}

void TQuery::run()
{
    close();
    if (!connection_.connected())
        connection_.open();
    query_.emplace(connection_.database());
    query_->setForwardOnly(true);
    // Floating and decimal columns arrive as doubles, so their text is the shortest exact one.
    query_->setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    roundTrip_ = {};
    sent_.start();
    if (!query_->exec(sql()))
        fail();
}

void TQuery::open()
{
    run();
    // Row counts and other results without columns come before the rows a batch selects.
    while (!query_->isSelect() && query_->nextResult()) {
    }
    if (!query_->isSelect()) {
        if (query_->lastError().isValid())
            fail();
        close();
        throw DatabaseError(QStringLiteral("The statement returned no result set"));
    }
    fieldNames_ = uniqueFieldNames(query_->record());
    step();
}

void TQuery::fail()
{
    const DatabaseError error = DatabaseError::fromSqlError(query_->lastError(), sqlStateOf(*query_));
    close();
    throw error;
}

void TQuery::execSQL()
{
    run();
    finish();
    close();
}

void TQuery::finish()
{
    // The server reports an error in a later statement of the batch only when its result is
    // asked for; the rows and counts of the others are of no use here.
    while (query_->nextResult()) {
    }
    if (query_->lastError().isValid())
        fail();
    roundTrip_ = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::nanoseconds(sent_.nsecsElapsed()));
}

void TQuery::next()
{
    if (query_ && onRow_)
        step();
}

void TQuery::step()
{
    onRow_ = query_->next();
    if (onRow_)
        return;
    if (query_->lastError().isValid())
        fail();
    finish();
}

QString TQuery::fieldByName(const QString &name) const
{
    qsizetype column = fieldNames_.size() - 1;
    while (column >= 0 && fieldNames_[column].compare(name, Qt::CaseInsensitive) != 0)
        --column;
    if (column < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    if (!onRow_)
        return {};
    const int index = int(column);
    return FieldText::fromValue(query_->value(index), query_->isNull(index));
}

void TQuery::getFieldNames(QStringList &names) const
{
    names.append(fieldNames_);
}
