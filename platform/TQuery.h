#pragma once

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QStringList>
#include <chrono>
#include <optional>

class TConnection;
class TextTable;

// A statement on one connection, read forward row by row, every value as text. Used as
// close -> clear -> add lines -> open -> while !eof(): fieldByName, next -> close.
class TQuery {
public:
    explicit TQuery(TConnection &connection);
    TQuery(const TQuery &) = delete;
    TQuery &operator=(const TQuery &) = delete;

    void close();
    void clear();
    void add(const QString &line);
    // close -> clear -> "/**/" -> the statement's lines: how every statement starts.
    void setStatement(const QStringList &lines);
    QString sql() const { return lines_.join(u'\n'); }

    // Opens the connection first when it is closed; stands on the first row. Raises
    // DatabaseError on a server error and when the statement yields no result set. Reading
    // past the last row reads the batch's further results and raises the error of any.
    void open();
    // Runs the statement without reading a result; raises DatabaseError on a server error.
    void execSQL();

    bool eof() const { return !onRow_; }
    void next();
    // The current row's value as text; empty at the end of the data. Names match in any letter
    // case; a name the result does not have raises DatabaseError.
    QString fieldByName(const QString &name) const;
    void getFieldNames(QStringList &names) const;
    // The rows from the current one to the end, every value as text, into `rows` (made anew
    // with the result's names); the rows read before a failure stay there.
    void readRows(TextTable &rows);
    // The last statement's round trip: from its sending to its last row read (the end of the
    // batch's results), a login before it left out. Zero until a statement has been read to its end.
    std::chrono::microseconds roundTrip() const { return roundTrip_; }

private:
    void run();
    void step();
    // Reads the results left in the batch; raises the first error among them.
    void finish();
    // Raises the query's last error, with its SQLSTATE, after closing.
    [[noreturn]] void fail();

    TConnection &connection_;
    QStringList lines_;
    std::optional<QSqlQuery> query_;
    QStringList fieldNames_;
    bool onRow_ = false;
    QElapsedTimer sent_;
    std::chrono::microseconds roundTrip_{};
};
