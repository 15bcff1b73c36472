#include "SlotState.h"

SlotState::SlotState(int number) : vRawData(5, 2), number_(number)
{
    tmSample.setInterval(1000);
    // A coarse timer may fire up to 5 % early; a sample comes one whole interval after the last.
    tmSample.setTimerType(Qt::PreciseTimer);
    tmSample.setProperty("Tag", number);
    tmWait.setSingleShot(true);
    tmWait.setProperty("Tag", number);
}

void SlotState::stopSampling()
{
    tmSample.stop();
    tmWait.stop();
    dbLocal.abandon(outstanding);
    outstanding = 0;
}
