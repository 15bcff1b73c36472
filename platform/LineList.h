#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// A growing list of text lines held back to back in one buffer, with the end of each line,
// so a line costs its characters and one offset rather than a string of its own. The offsets
// are 64-bit: a long run of samples cannot outgrow them.
//
// A line is handed out as a view into the buffer. A view is valid until the list is next
// changed (append, clear, assignment); keep a QString copy to hold a line beyond that.
class LineList {
public:
    qsizetype size() const { return ends_.size(); }
    bool isEmpty() const { return ends_.isEmpty(); }

    // Inline: a rebuild reads every line.
    QStringView at(qsizetype i) const
    {
        Q_ASSERT(i >= 0 && i < size());
        const qint64 begin = i == 0 ? 0 : ends_[i - 1];
        return QStringView(text_.constData() + begin, ends_[i] - begin);
    }
    QStringView operator[](qsizetype i) const { return at(i); }
    QStringView first() const { return at(0); }
    QStringView last() const { return at(size() - 1); }

    // Amortised constant time. The line may be a view of this list.
    void append(QStringView line);
    LineList &operator<<(QStringView line)
    {
        append(line);
        return *this;
    }
    // Empties the list and gives its memory back.
    void clear();

    friend bool operator==(const LineList &a, const LineList &b)
    {
        return a.ends_ == b.ends_ && a.text_ == b.text_;
    }
    friend bool operator==(const LineList &a, const QStringList &b);

    QStringList toStringList() const;
    // The bytes reserved for the characters and the offsets.
    qsizetype storageBytes() const;

private:
    QString text_;
    QList<qint64> ends_;
};
