#pragma once

#include <QString>

// The text without the blanks and control characters at either end.
QString trimBlanksAndControls(const QString &text);
