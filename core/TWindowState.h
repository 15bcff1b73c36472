#pragma once

#include <QStringList>

// The window-wide flags and the scratch list that several actions share.
struct TWindowState {
    explicit TWindowState(QStringList &scratchList) : vScratchList(scratchList) {}

    bool bAbort = false;  // Escape asks the running long loop to stop
    bool bSybase = false; // the server of the last Connect is Sybase ASE
    // Created before the window and destroyed after it; entries compare without letter case.
    QStringList &vScratchList;
};
