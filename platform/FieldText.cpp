#include "FieldText.h"

#include "Regional.h"

#include <QDateTime>
#include <charconv>

namespace FieldText {

QString fromValue(const QVariant &value, bool isNull)
{
    if (isNull)
        return {};
    const Regional &regional = Regional::current();
    switch (value.typeId()) {
    case QMetaType::Double:
        return regional.formatNumber(value.toDouble());
    case QMetaType::Float: {
        // A REAL holds 24 bits: its own shortest digits, not those of the widened double.
        char digits[32];
        const std::to_chars_result written =
            std::to_chars(digits, digits + sizeof digits, value.toFloat());
        double widened = 0;
        std::from_chars(digits, written.ptr, widened);
        return regional.formatNumber(widened);
    }
    case QMetaType::QDateTime:
        return regional.formatTimeLine(value.toDateTime());
    case QMetaType::QDate:
        return value.toDate().toString(regional.shortDateFormat());
    case QMetaType::QTime:
        return value.toTime().toString(regional.longTimeFormat());
    case QMetaType::QByteArray:
        return QStringLiteral("0x") + QString::fromLatin1(value.toByteArray().toHex().toUpper());
    default:
        return value.toString();
    }
}

} // namespace FieldText
