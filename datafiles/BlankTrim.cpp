#include "BlankTrim.h"

#include <algorithm>

namespace BlankTrim {

bool isBlank(QChar c)
{
    return c.unicode() <= u' ';
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isBlank(c); });
}

QString trimmed(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start);
}

} // namespace BlankTrim
