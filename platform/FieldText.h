#pragma once

#include <QString>
#include <QVariant>

// How a value read from a result becomes the text every caller sees.
namespace FieldText {

// NULL -> empty; integers exact without group separators; floating values the shortest text
// that reads back the same, with the regional decimal point; date-times as the time line;
// binary as "0x" + hex digits; text unchanged.
QString fromValue(const QVariant &value, bool isNull);

} // namespace FieldText
