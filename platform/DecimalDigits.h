#pragma once

#include <QString>

// The decimal digits of value appended to out, padded with leading zeros to at least atLeast
// digits; without going through a number-to-text conversion, which the time lines and packed
// numbers of a ten-million-line save would pay for on every line.
inline void appendDecimalDigits(QString &out, quint64 value, qsizetype atLeast)
{
    char16_t digits[24];
    qsizetype count = 0;
    do {
        digits[count++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (; count < atLeast; ++count)
        digits[count] = u'0';
    while (count > 0)
        out += QChar(digits[--count]);
}
