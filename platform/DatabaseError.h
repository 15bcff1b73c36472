#pragma once

#include "ShownMessage.h"

#include <QSqlError>
#include <QString>
#include <stdexcept>

// A failure reported by the database layer or the server; the message is what the user sees,
// so it never holds a password nor a value too long to read.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString &message, const QString &sqlState = {})
        : DatabaseError(ShownMessage::from(message), sqlState, 0)
    {
    }

    // The driver's own words; Qt's text only when the driver gave none.
    static DatabaseError fromSqlError(const QSqlError &error, const QString &sqlState = {})
    {
        const QString driverText = error.databaseText();
        return DatabaseError(driverText.isEmpty() ? error.text() : driverText, sqlState);
    }

    QString message() const { return text_; }
    QString sqlState() const { return state_; }

    // The connection is gone (the server died or the network dropped it): the driver still
    // calls it open, but only a new login can reach the server again.
    bool linkLost() const
    {
        return state_ == u"08S01" || state_ == u"08003" || state_ == u"08001"
               || text_.contains(QStringLiteral("Unknown error"));
    }

private:
    DatabaseError(const QString &shown, const QString &sqlState, int)
        : std::runtime_error(shown.toStdString()), text_(shown), state_(sqlState)
    {
    }

    QString text_;
    QString state_;
};
