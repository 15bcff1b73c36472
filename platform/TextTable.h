#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringList>
#include <vector>

// The rows of a result as text, read on one thread and shown on another: every cell's UTF-8
// back to back in one buffer with an end per cell, so that a million-row result costs about
// its characters instead of a string object per cell.
class TextTable {
public:
    TextTable() = default;
    explicit TextTable(QStringList names);

    const QStringList &names() const { return names_; }
    int columnCount() const { return int(names_.size()); }
    qsizetype rowCount() const;

    // The next cell, row after row, each row one cell per name.
    void append(QStringView cell);
    QString cell(qsizetype row, int column) const;

private:
    QStringList names_;
    QByteArray text_;
    std::vector<qsizetype> ends_;
    QStringEncoder toUtf8_{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};
