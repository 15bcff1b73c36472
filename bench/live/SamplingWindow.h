#pragma once

#include "SampledServer.h"
#include "WindowUnderTest.h"

#include <QList>

class TChartSlot;

// The real window, offscreen, in a folder of its own, its control strip pointing at a server
// and its dialogs answered from a script; the slots' timers are fired by hand.
struct SamplingWindow : WindowUnderTest {
    explicit SamplingWindow(const SampledServer &server);

    TChartSlot &slot(int n);
    // Puts the statement into the query box, presses Run and waits for the login's answers.
    void run(int n, const QString &statement);
    // One tick of the slot's timer, as if its interval had passed, and the sample's answer.
    static void fire(TChartSlot &slot);
    // The chart's Y values in X order.
    static QList<double> plotted(const TChartSlot &slot);
};
