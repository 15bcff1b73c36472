#pragma once

#include "Regional.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// A growing list of text lines that gives every line back exactly as appended, held in eight
// bytes a line where the text allows: a time line as the program writes it, a plain decimal number
// and any text of up to seven Latin-1 characters are packed into the line's own word; any other
// line is kept as its text, back to back with the others. A week at one sample a second is
// 604,800 lines a list, four months ten million.
class LineList {
public:
    qsizetype size() const { return codes_.size(); }
    bool isEmpty() const { return codes_.isEmpty(); }

    QString at(qsizetype i) const;
    QString operator[](qsizetype i) const { return at(i); }
    QString first() const { return at(0); }
    QString last() const { return at(size() - 1); }
    bool isEmptyLine(qsizetype i) const;
    // Appends line i to out: no allocation once out has room for it.
    void appendTo(qsizetype i, QString &out) const;

    // Amortised constant time. The line may be a view of this list.
    void append(QStringView line);
    LineList &operator<<(QStringView line)
    {
        append(line);
        return *this;
    }
    // Appends a line that reads as a time line under `regional` and returns true; appends nothing
    // and returns false for any other. A line as the program writes it is read only once.
    bool appendTimeLine(QStringView line, const Regional &regional);
    // Empties the list and gives its memory back.
    void clear();

    // What line i reads as, when the list knows without reading its text: the value of a number
    // written with this decimal point (or none), the local date and time of a time line written as
    // `regional` writes them. Nothing means: read the text.
    std::optional<double> number(qsizetype i, QChar decimalPoint) const;
    std::optional<Regional::LocalTime> timeLine(qsizetype i, const Regional &regional) const;

    friend bool operator==(const LineList &a, const LineList &b);
    friend bool operator==(const LineList &a, const QStringList &b);

    QStringList toStringList() const;
    // The bytes reserved for the lines.
    qsizetype storageBytes() const;

private:
    enum Kind : quint64 { Text = 0, Short = 1, Number = 2, Time = 3 };
    static constexpr int kindShift = 62;
    static Kind kindOf(quint64 code) { return Kind(code >> kindShift); }

    static std::optional<quint64> shortCode(QStringView line);
    static std::optional<quint64> numberCode(QStringView line);
    std::optional<quint64> timeCode(QStringView line);
    QStringView text(quint64 code) const;

    // One word a line: its kind in the top two bits, then its packed form or, for text, the
    // number of the text in texts_.
    QList<quint64> codes_;
    // The time lines' form, taken from the regional settings when the first one comes.
    std::optional<Regional> timeForm_;
    QString texts_;
    QList<qint64> textEnds_;
};
