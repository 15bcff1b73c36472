#include "TextTrim.h"

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

QString trimBlanksAndControls(const QString &text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && isBlankOrControl(text[first]))
        ++first;
    while (end > first && isBlankOrControl(text[end - 1]))
        --end;
    if (first == 0 && end == text.size())
        return text;
    return text.mid(first, end - first);
}
