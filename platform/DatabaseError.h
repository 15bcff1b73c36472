#pragma once

#include <QSqlError>
#include <QString>
#include <stdexcept>

// A failure reported by the database layer or the server; the message is what the user sees.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), text(message)
    {
    }

    // The driver's own words; Qt's text only when the driver gave none.
    static DatabaseError fromSqlError(const QSqlError &error)
    {
        const QString driverText = error.databaseText();
        return DatabaseError(driverText.isEmpty() ? error.text() : driverText);
    }

    QString message() const { return text; }

private:
    QString text;
};
