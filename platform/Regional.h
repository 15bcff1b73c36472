#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// The user's regional settings that turn times and numbers into text and back. One object is
// read from QLocale::system(); tests set one explicitly.
class Regional {
public:
    // longTimeFormat is a Qt time format ("HH:mm:ss", "h:mm:ss AP"), without time-zone fields.
    Regional(QChar dateSeparator, QChar timeSeparator, QString longTimeFormat, QChar decimalPoint);

    static Regional fromSystem();
    static const Regional &current(); // process-wide; fromSystem() until set
    static void setCurrent(const Regional &regional);

    QChar dateSeparator() const { return dateSep_; }
    QChar timeSeparator() const { return timeSep_; }
    QChar decimalPoint() const { return point_; }
    QString longTimeFormat() const { return timeFormat_; }
    QString shortDateFormat() const; // "dd/MM/yyyy" with the date separator

    // The time line: date in the short date format, one blank, time in the long time format.
    QString formatTimeLine(const QDateTime &local) const;
    // Reads the program's own time line directly; anything else (one-digit fields, no time,
    // seconds left out) through the locale-aware parser with the same separators. The result
    // is the local time carrying the zone's offset at that moment (Qt::OffsetFromUTC): the
    // same instant and wall-clock time as a Qt::LocalTime value, without a zone look-up per
    // line.
    std::optional<QDateTime> parseTimeLine(QStringView text) const;

    // A time line's local date and time, as written.
    struct LocalTime {
        QDate date;
        QTime time;
    };
    void appendTimeLine(QString &out, const LocalTime &local) const;
    // The date and time of a line exactly as formatTimeLine writes it; nothing for any other
    // text, even one that parseTimeLine reads.
    std::optional<LocalTime> readOwnTimeLine(QStringView text) const;
    // The instant parseTimeLine gives for the same line, without building a QDateTime.
    qint64 msecsSinceEpoch(const LocalTime &local) const;
    // Both write time lines alike and read them alike.
    bool sameTimeLines(const Regional &other) const;

    // Shortest text that reads back to the same double; the decimal point as set, no groups.
    QString formatNumber(double value) const;
    // Rejects text with another decimal point, group separators, NaN and infinities.
    std::optional<double> parseNumber(QStringView text) const;

private:
    struct TimeField {
        enum Kind { Literal, Hour24, Hour12, Minute, Second, Millisecond, AmPm } kind;
        bool padded = false;   // two digits (three for milliseconds)
        bool upper = false;    // AM/PM rather than am/pm
        QString text;          // literal text
    };

    static std::vector<TimeField> parseFormat(const QString &format);
    void appendTime(QString &out, const QTime &time) const;
    bool readTime(QStringView text, qsizetype &at, QTime &time) const;
    std::optional<QDateTime> parseLeniently(QStringView text) const;
    // dd/MM/yyyy and a time at their fixed places, the time read leniently.
    std::optional<LocalTime> readFixedTimeLine(QStringView text) const;
    QDateTime localDateTime(const QDate &date, const QTime &time) const;
    int offsetAt(const QDate &date, const QTime &time) const;

    QChar dateSep_;
    QChar timeSep_;
    QString timeFormat_;
    QChar point_;
    std::vector<TimeField> timeFields_;

    // The zone's offset for the last local date and hour read; zones change offsets on the hour.
    mutable QDate offsetDate_;
    mutable int offsetHour_ = -1;
    mutable int offsetSeconds_ = 0;
};
