#include "TQuery.h"

#include "DatabaseError.h"
#include "FieldText.h"
#include "TConnection.h"

#include <QSqlError>
#include <QSqlRecord>

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
    if (!query->exec(sql())) {
        const QSqlError error = query->lastError();
        close();
        throw DatabaseError::fromSqlError(error);
    }
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
    if (!onRow && query->lastError().isValid()) {
        const QSqlError error = query->lastError();
        close();
        throw DatabaseError::fromSqlError(error);
    }
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
