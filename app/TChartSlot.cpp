#include "TChartSlot.h"

TChartSlot::TChartSlot(int number) : number_(number)
{
    tmSample.setInterval(1000);
    tmSample.setProperty("Tag", number);
}
