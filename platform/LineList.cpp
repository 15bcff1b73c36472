#include "LineList.h"

#include "DecimalDigits.h"

#include <array>

namespace {

constexpr quint64 one = 1;
// A short line: its length in bits 56..58, then a byte a character.
constexpr int shortLengthShift = 56;
constexpr qsizetype shortLimit = 7;
// A number: sign in bit 61, a comma for its point in bit 60, the digits after the point in
// bits 53..57 and all its digits as one integer below them. Fifteen digits stay below 2^53, so
// the integer is an exact double, and so are the powers of ten up to 10^22: their quotient is
// the double the text reads as.
constexpr int signBit = 61;
constexpr int commaBit = 60;
constexpr int scaleShift = 53;
constexpr quint64 mantissaMask = (one << scaleShift) - 1;
constexpr qsizetype mostDigits = 15;
constexpr std::array<double, 16> powersOfTen{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// A time line: its Julian day above the milliseconds of its day.
constexpr int dayShift = 27;
constexpr quint64 msecsMask = (one << dayShift) - 1;
constexpr quint64 payloadMask = (one << 62) - 1;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<quint64> LineList::shortCode(QStringView line)
{
    if (line.size() > shortLimit)
        return std::nullopt;
    quint64 code = (quint64(Short) << kindShift) | (quint64(line.size()) << shortLengthShift);
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i].unicode() > 0xFF)
            return std::nullopt;
        code |= quint64(line[i].unicode()) << (8 * i);
    }
    return code;
}

// Only the one way of writing the number: an optional minus, no leading zeros, a point with
// digits after it.
std::optional<quint64> LineList::numberCode(QStringView line)
{
    qsizetype at = 0;
    const bool negative = !line.isEmpty() && line[0] == u'-';
    if (negative)
        ++at;
    const qsizetype integerStart = at;
    quint64 mantissa = 0;
    while (at < line.size() && isDigit(line[at]) && at - integerStart < mostDigits)
        mantissa = mantissa * 10 + (line[at++].unicode() - u'0');
    const qsizetype integerDigits = at - integerStart;
    if (integerDigits == 0 || (integerDigits > 1 && line[integerStart] == u'0'))
        return std::nullopt;
    qsizetype scale = 0;
    bool comma = false;
    if (at < line.size() && (line[at] == u'.' || line[at] == u',')) {
        comma = line[at++] == u',';
        while (at < line.size() && isDigit(line[at]) && integerDigits + scale < mostDigits) {
            mantissa = mantissa * 10 + (line[at++].unicode() - u'0');
            ++scale;
        }
        if (scale == 0)
            return std::nullopt;
    }
    if (at != line.size())
        return std::nullopt;
    return (quint64(Number) << kindShift) | (quint64(negative) << signBit) | (quint64(comma) << commaBit)
           | (quint64(scale) << scaleShift) | mantissa;
}

std::optional<quint64> LineList::timeCode(QStringView line)
{
    if (!timeForm_)
        timeForm_ = Regional::current();
    const std::optional<Regional::LocalTime> local = timeForm_->readOwnTimeLine(line);
    if (!local)
        return std::nullopt;
    return (quint64(Time) << kindShift) | (quint64(local->date.toJulianDay()) << dayShift)
           | quint64(local->time.msecsSinceStartOfDay());
}

void LineList::append(QStringView line)
{
    std::optional<quint64> code = timeCode(line);
    if (!code)
        code = numberCode(line);
    if (!code)
        code = shortCode(line);
    if (!code) {
        // QString::append copes with a source inside its own buffer and grows geometrically.
        code = quint64(textEnds_.size());
        texts_.append(line);
        textEnds_.append(texts_.size());
    }
    codes_.append(*code);
}

bool LineList::appendTimeLine(QStringView line, const Regional &regional)
{
    if (!timeForm_)
        timeForm_ = regional;
    if (timeForm_->sameTimeLines(regional)) {
        if (const std::optional<quint64> code = timeCode(line)) {
            codes_.append(*code);
            return true;
        }
    }
    if (!regional.parseTimeLine(line))
        return false;
    append(line);
    return true;
}

void LineList::clear()
{
    // QList::clear keeps the capacity from Qt 6.5 on; a fresh list does not.
    codes_ = QList<quint64>();
    timeForm_.reset();
    texts_ = QString();
    textEnds_ = QList<qint64>();
}

QStringView LineList::text(quint64 code) const
{
    const qsizetype index = qsizetype(code & payloadMask);
    const qint64 begin = index == 0 ? 0 : textEnds_[index - 1];
    return QStringView(texts_.constData() + begin, textEnds_[index] - begin);
}

void LineList::appendTo(qsizetype i, QString &out) const
{
    Q_ASSERT(i >= 0 && i < size());
    const quint64 code = codes_[i];
    switch (kindOf(code)) {
    case Text:
        out += text(code);
        break;
    case Short: {
        const qsizetype length = qsizetype((code >> shortLengthShift) & 7);
        for (qsizetype c = 0; c < length; ++c)
            out += QChar(char16_t((code >> (8 * c)) & 0xFF));
        break;
    }
    case Number: {
        if (code & (one << signBit))
            out += u'-';
        const qsizetype scale = qsizetype((code >> scaleShift) & 31);
        const quint64 mantissa = code & mantissaMask;
        const quint64 power = quint64(powersOfTen[scale]);
        appendDecimalDigits(out, mantissa / power, 1);
        if (scale > 0) {
            out += (code & (one << commaBit)) ? u',' : u'.';
            appendDecimalDigits(out, mantissa % power, scale);
        }
        break;
    }
    case Time:
        timeForm_->appendTimeLine(out, {QDate::fromJulianDay(qint64((code & payloadMask) >> dayShift)),
                                        QTime::fromMSecsSinceStartOfDay(int(code & msecsMask))});
        break;
    }
}

QString LineList::at(qsizetype i) const
{
    const quint64 code = codes_[i];
    if (kindOf(code) == Text)
        return text(code).toString();
    QString line;
    line.reserve(32);
    appendTo(i, line);
    return line;
}

bool LineList::isEmptyLine(qsizetype i) const
{
    const quint64 code = codes_[i];
    switch (kindOf(code)) {
    case Text: return text(code).isEmpty();
    case Short: return ((code >> shortLengthShift) & 7) == 0;
    default: return false;
    }
}

std::optional<double> LineList::number(qsizetype i, QChar decimalPoint) const
{
    const quint64 code = codes_[i];
    if (kindOf(code) != Number)
        return std::nullopt;
    const qsizetype scale = qsizetype((code >> scaleShift) & 31);
    if (scale > 0 && decimalPoint != ((code & (one << commaBit)) ? u',' : u'.'))
        return std::nullopt;
    const double magnitude = double(code & mantissaMask) / powersOfTen[scale];
    return (code & (one << signBit)) ? -magnitude : magnitude;
}

std::optional<Regional::LocalTime> LineList::timeLine(qsizetype i, const Regional &regional) const
{
    const quint64 code = codes_[i];
    if (kindOf(code) != Time || !timeForm_->sameTimeLines(regional))
        return std::nullopt;
    return Regional::LocalTime{QDate::fromJulianDay(qint64((code & payloadMask) >> dayShift)),
                               QTime::fromMSecsSinceStartOfDay(int(code & msecsMask))};
}

bool operator==(const LineList &a, const LineList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const quint64 code = a.codes_[i];
        // Packed alike is written alike, but for time lines of two forms and texts kept apart.
        const bool packedAlike = code == b.codes_[i] && LineList::kindOf(code) != LineList::Text
                                 && (LineList::kindOf(code) != LineList::Time
                                     || a.timeForm_->sameTimeLines(*b.timeForm_));
        if (!packedAlike && a.at(i) != b.at(i))
            return false;
    }
    return true;
}

bool operator==(const LineList &a, const QStringList &b)
{
    if (a.size() != b.size())
        return false;
    QString line;
    for (qsizetype i = 0; i < a.size(); ++i) {
        line.resize(0);
        a.appendTo(i, line);
        if (line != b.at(i))
            return false;
    }
    return true;
}

QStringList LineList::toStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i));
    return lines;
}

qsizetype LineList::storageBytes() const
{
    return codes_.capacity() * qsizetype(sizeof(quint64)) + texts_.capacity() * qsizetype(sizeof(QChar))
           + textEnds_.capacity() * qsizetype(sizeof(qint64));
}
