#pragma once

#include <qcustomplot.h>

// Date-time ticks labelled to the second: never closer than a second, and always on whole
// seconds, so that no two ticks read alike and no label names a time its tick is not at.
class TimeAxisTicker : public QCPAxisTickerDateTime {
public:
    TimeAxisTicker();

protected:
    double getTickStep(const QCPRange &range) override;
};
