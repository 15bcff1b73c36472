#include "ExportMarker.h"

#include <algorithm>

namespace ExportMarker {

qsizetype resumeIndex(const QString &marker)
{
    bool isNumber = false;
    const int last = marker.toInt(&isNumber);
    return isNumber ? std::max<qsizetype>(0, qsizetype(last) + 1) : 0;
}

QString afterEntries(qsizetype count)
{
    return count > 0 ? QString::number(count - 1) : QString();
}

} // namespace ExportMarker
