#include "TimeAxisTicker.h"

#include <algorithm>
#include <cmath>

TimeAxisTicker::TimeAxisTicker()
{
    setDateTimeSpec(Qt::LocalTime);
    setDateTimeFormat(QStringLiteral("hh:mm:ss\ndd/MM/yyyy"));
}

double TimeAxisTicker::getTickStep(const QCPRange &range)
{
    // The base picks fractions of a second for short spans and 2.5 s among its steps.
    return std::max(1.0, std::floor(QCPAxisTickerDateTime::getTickStep(range)));
}
