#include "SlotState.h"

SlotState::SlotState(int number) : vRawData(5, 2), number_(number)
{
    tmSample.setInterval(1000);
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
