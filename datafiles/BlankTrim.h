#pragma once

#include <QString>
#include <QStringView>

// Blanks and control characters (everything up to U+0020) as the data files treat them.
namespace BlankTrim {

bool isBlank(QChar c);
// True when the text holds nothing but blanks and control characters.
bool isBlank(QStringView text);
// The text without leading and trailing blanks and control characters.
QString trimmed(const QString &text);

} // namespace BlankTrim
