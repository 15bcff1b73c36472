#include "Regional.h"

#include "DecimalDigits.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads between minDigits and maxDigits digits at `at`; -1 when there are too few.
int readDigits(QStringView text, qsizetype &at, int minDigits, int maxDigits)
{
    int value = 0;
    int count = 0;
    while (count < maxDigits && at < text.size() && isDigit(text[at])) {
        value = value * 10 + (text[at].unicode() - u'0');
        ++at;
        ++count;
    }
    return count < minDigits ? -1 : value;
}

// A separator as a literal inside a Qt date or time format.
QString literal(QChar c)
{
    if (c.isLetter() || c == u'\'')
        return u'\'' + (c == u'\'' ? QStringLiteral("''") : QString(c)) + u'\'';
    return QString(c);
}

QChar firstSeparator(const QString &format, QChar fallback)
{
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

// The long time format without its time-zone field ("t") and the blank before it.
QString withoutZone(const QString &format)
{
    QString result;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (!result.isEmpty() && result.back().isSpace())
                result.chop(1);
            continue;
        }
        result += c;
    }
    return result.trimmed();
}

Regional &instance()
{
    static Regional regional = Regional::fromSystem();
    return regional;
}

} // namespace

Regional::Regional(QChar dateSeparator, QChar timeSeparator, QString longTimeFormat,
                   QChar decimalPoint)
    : dateSep_(dateSeparator), timeSep_(timeSeparator), timeFormat_(std::move(longTimeFormat)),
      point_(decimalPoint), timeFields_(parseFormat(timeFormat_))
{
}

Regional Regional::fromSystem()
{
    const QLocale locale = QLocale::system();
    const QString time = withoutZone(locale.timeFormat(QLocale::LongFormat));
    const QString decimal = locale.decimalPoint();
    return Regional(firstSeparator(locale.dateFormat(QLocale::ShortFormat), u'/'),
                    firstSeparator(time, u':'), time,
                    decimal.isEmpty() ? QChar(u'.') : decimal.front());
}

const Regional &Regional::current()
{
    return instance();
}

void Regional::setCurrent(const Regional &regional)
{
    instance() = regional;
}

QString Regional::shortDateFormat() const
{
    const QString separator = literal(dateSep_);
    return QStringLiteral("dd") + separator + QStringLiteral("MM") + separator
           + QStringLiteral("yyyy");
}

std::vector<Regional::TimeField> Regional::parseFormat(const QString &format)
{
    std::vector<TimeField> fields;
    const auto addLiteral = [&fields](QChar c) {
        if (fields.empty() || fields.back().kind != TimeField::Literal)
            fields.push_back({TimeField::Literal, false, false, {}});
        fields.back().text += c;
    };
    qsizetype at = 0;
    while (at < format.size()) {
        const QChar c = format[at];
        if (c == u'\'') {
            ++at;
            if (at < format.size() && format[at] == u'\'') {
                addLiteral(u'\'');
                ++at;
                continue;
            }
            while (at < format.size()) {
                if (format[at] == u'\'') {
                    if (at + 1 < format.size() && format[at + 1] == u'\'') {
                        addLiteral(u'\'');
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                addLiteral(format[at++]);
            }
            continue;
        }
        qsizetype run = 1;
        while (at + run < format.size() && format[at + run] == c)
            ++run;
        switch (c.unicode()) {
        case u'H': fields.push_back({TimeField::Hour24, run >= 2, false, {}}); break;
        case u'h': fields.push_back({TimeField::Hour12, run >= 2, false, {}}); break;
        case u'm': fields.push_back({TimeField::Minute, run >= 2, false, {}}); break;
        case u's': fields.push_back({TimeField::Second, run >= 2, false, {}}); break;
        case u'z': fields.push_back({TimeField::Millisecond, run >= 3, false, {}}); break;
        case u'A':
        case u'a':
            run = 1;
            if (at + 1 < format.size() && format[at + 1].toLower() == u'p')
                run = 2;
            fields.push_back({TimeField::AmPm, false, c == u'A', {}});
            break;
        default:
            for (qsizetype i = 0; i < run; ++i)
                addLiteral(c);
        }
        at += run;
    }
    // Without AM/PM, "h" counts the hours of the whole day, as Qt reads it.
    const bool hasAmPm = std::any_of(fields.begin(), fields.end(),
                                     [](const TimeField &f) { return f.kind == TimeField::AmPm; });
    if (!hasAmPm)
        for (TimeField &field : fields)
            if (field.kind == TimeField::Hour12)
                field.kind = TimeField::Hour24;
    return fields;
}

void Regional::appendTime(QString &out, const QTime &time) const
{
    for (const TimeField &field : timeFields_) {
        switch (field.kind) {
        case TimeField::Literal: out += field.text; break;
        case TimeField::Hour24: appendDecimalDigits(out, time.hour(), field.padded ? 2 : 1); break;
        case TimeField::Hour12: {
            const int hour = time.hour() % 12;
            appendDecimalDigits(out, hour == 0 ? 12 : hour, field.padded ? 2 : 1);
            break;
        }
        case TimeField::Minute: appendDecimalDigits(out, time.minute(), field.padded ? 2 : 1); break;
        case TimeField::Second: appendDecimalDigits(out, time.second(), field.padded ? 2 : 1); break;
        case TimeField::Millisecond: {
            int ms = time.msec();
            int width = 3;
            if (!field.padded) {
                while (width > 1 && ms % 10 == 0) {
                    ms /= 10;
                    --width;
                }
            }
            appendDecimalDigits(out, ms, width);
            break;
        }
        case TimeField::AmPm: {
            const bool pm = time.hour() >= 12;
            out += field.upper ? (pm ? u"PM" : u"AM") : (pm ? u"pm" : u"am");
            break;
        }
        }
    }
}

QString Regional::formatTimeLine(const QDateTime &local) const
{
    QString line;
    line.reserve(32);
    appendTimeLine(line, {local.date(), local.time()});
    return line;
}

void Regional::appendTimeLine(QString &out, const LocalTime &local) const
{
    // One calendar reckoning for the three fields.
    int year = 0;
    int month = 0;
    int day = 0;
    local.date.getDate(&year, &month, &day);
    appendDecimalDigits(out, day, 2);
    out += dateSep_;
    appendDecimalDigits(out, month, 2);
    out += dateSep_;
    appendDecimalDigits(out, year, 4);
    out += u' ';
    appendTime(out, local.time);
}

std::optional<Regional::LocalTime> Regional::readFixedTimeLine(QStringView text) const
{
    if (text.size() <= 11 || text[2] != dateSep_ || text[5] != dateSep_ || text[10] != u' ')
        return std::nullopt;
    qsizetype at = 0;
    const int day = readDigits(text, at, 2, 2);
    ++at;
    const int month = readDigits(text, at, 2, 2);
    ++at;
    const int year = readDigits(text, at, 4, 4);
    ++at;
    const QDate date(year, month, day);
    QTime time;
    if (at != 11 || !date.isValid() || !readTime(text, at, time) || at != text.size())
        return std::nullopt;
    return LocalTime{date, time};
}

std::optional<Regional::LocalTime> Regional::readOwnTimeLine(QStringView text) const
{
    const std::optional<LocalTime> local = readFixedTimeLine(text);
    if (!local)
        return std::nullopt;
    // Read leniently (one digit for two, am for AM), the line may still be written otherwise.
    thread_local QString written;
    written.resize(0);
    appendTimeLine(written, *local);
    if (written != text)
        return std::nullopt;
    return local;
}

qint64 Regional::msecsSinceEpoch(const LocalTime &local) const
{
    constexpr qint64 epochDay = 2440588; // 1 January 1970
    constexpr qint64 msecsPerDay = 86400000;
    return (local.date.toJulianDay() - epochDay) * msecsPerDay + local.time.msecsSinceStartOfDay()
           - qint64(offsetAt(local.date, local.time)) * 1000;
}

bool Regional::sameTimeLines(const Regional &other) const
{
    return dateSep_ == other.dateSep_ && timeSep_ == other.timeSep_ && timeFormat_ == other.timeFormat_;
}

bool Regional::readTime(QStringView text, qsizetype &at, QTime &time) const
{
    int hour = 0, minute = 0, second = 0, ms = 0;
    bool twelveHour = false, pm = false;
    for (const TimeField &field : timeFields_) {
        const int width = field.padded ? 2 : 1;
        switch (field.kind) {
        case TimeField::Literal:
            if (!text.sliced(at).startsWith(field.text))
                return false;
            at += field.text.size();
            break;
        case TimeField::Hour24:
        case TimeField::Hour12:
            hour = readDigits(text, at, width, 2);
            twelveHour = field.kind == TimeField::Hour12;
            if (hour < 0 || (twelveHour && (hour < 1 || hour > 12)))
                return false;
            break;
        case TimeField::Minute:
            if ((minute = readDigits(text, at, width, 2)) < 0)
                return false;
            break;
        case TimeField::Second:
            if ((second = readDigits(text, at, width, 2)) < 0)
                return false;
            break;
        case TimeField::Millisecond: {
            const qsizetype start = at;
            if ((ms = readDigits(text, at, field.padded ? 3 : 1, 3)) < 0)
                return false;
            // Without padding the digits are a fraction of the second.
            for (qsizetype digits = at - start; digits < 3; ++digits)
                ms *= 10;
            break;
        }
        case TimeField::AmPm: {
            const QStringView mark = text.sliced(at).left(2);
            if (mark.compare(u"PM", Qt::CaseInsensitive) == 0)
                pm = true;
            else if (mark.compare(u"AM", Qt::CaseInsensitive) != 0)
                return false;
            at += 2;
            break;
        }
        }
    }
    if (twelveHour)
        hour = hour % 12 + (pm ? 12 : 0);
    time = QTime(hour, minute, second, ms);
    return time.isValid();
}

std::optional<QDateTime> Regional::parseTimeLine(QStringView text) const
{
    if (const std::optional<LocalTime> local = readFixedTimeLine(text))
        return localDateTime(local->date, local->time);
    return parseLeniently(text);
}

std::optional<QDateTime> Regional::parseLeniently(QStringView text) const
{
    const QStringView line = text.trimmed();
    const qsizetype blank = line.indexOf(u' ');
    const QStringView datePart = blank < 0 ? line : line.left(blank);
    const QStringView timePart = blank < 0 ? QStringView() : line.sliced(blank).trimmed();

    const QList<QStringView> parts = datePart.split(dateSep_);
    if (parts.size() != 3 || parts[0].size() > 2 || parts[1].size() > 2 || parts[2].size() != 4)
        return std::nullopt;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        qsizetype at = 0;
        numbers[i] = readDigits(parts[i], at, 1, 4);
        if (numbers[i] < 0 || at != parts[i].size())
            return std::nullopt;
    }
    const QDate date(numbers[2], numbers[1], numbers[0]);
    if (!date.isValid())
        return std::nullopt;
    if (timePart.isEmpty())
        return localDateTime(date, QTime(0, 0));

    const QString sep = literal(timeSep_);
    const QString formats[] = {
        timeFormat_,
        QStringLiteral("H%1m%1s").arg(sep),
        QStringLiteral("H%1m").arg(sep),
        QStringLiteral("h%1m%1s AP").arg(sep),
        QStringLiteral("h%1m AP").arg(sep),
        QStringLiteral("h%1m%1sAP").arg(sep),
        QStringLiteral("h%1mAP").arg(sep),
    };
    // The system locale's AM/PM texts first, then the English ones the program writes.
    const QString timeText = timePart.toString();
    for (const QLocale &locale : {QLocale::system(), QLocale::c()}) {
        for (const QString &format : formats) {
            const QTime time = locale.toTime(timeText, format);
            if (time.isValid())
                return localDateTime(date, time);
        }
    }
    return std::nullopt;
}

QDateTime Regional::localDateTime(const QDate &date, const QTime &time) const
{
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetAt(date, time));
}

int Regional::offsetAt(const QDate &date, const QTime &time) const
{
    if (date != offsetDate_ || time.hour() != offsetHour_) {
        offsetSeconds_ = QDateTime(date, time).offsetFromUtc();
        offsetDate_ = date;
        offsetHour_ = time.hour();
    }
    return offsetSeconds_;
}

QString Regional::formatNumber(double value) const
{
    char buffer[64];
    const double magnitude = std::fabs(value);
    // Plain digits for everyday magnitudes, exponent form only where it is much shorter.
    const std::to_chars_result written =
        (magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e15))
            ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    if (point_ != u'.')
        text.replace(u'.', point_);
    return text;
}

std::optional<double> Regional::parseNumber(QStringView text) const
{
    QStringView trimmed = text.trimmed();
    // from_chars takes a minus sign only; one plus sign is allowed too.
    if (trimmed.startsWith(u'+')) {
        trimmed = trimmed.sliced(1);
        if (trimmed.startsWith(u'-'))
            return std::nullopt;
    }
    if (trimmed.isEmpty() || trimmed.size() > 63)
        return std::nullopt;
    char buffer[64];
    qsizetype length = 0;
    for (QChar c : trimmed) {
        if (c == point_)
            c = u'.';
        else if (c == u'.' || c.unicode() > 127)
            return std::nullopt;
        buffer[length++] = char(c.unicode());
    }
    double value = 0;
    const std::from_chars_result read = std::from_chars(buffer, buffer + length, value);
    if (read.ec != std::errc() || read.ptr != buffer + length || !std::isfinite(value))
        return std::nullopt;
    return value;
}
