#pragma once

#include "TChartArea.h"

class QWidget;
class TChartSlot;
class TDialogs;
class TStatusBar;

// Window geometry: folding the control strips, collapsing and restoring the left chart
// column, and the widths of the status bars' panels. No data changes here.
namespace WindowLayout {

// Drag rules of the chart area's splitters.
constexpr int columnMinimumSize = 30; // splitHor, with snap
constexpr int paneMinimumSize = 3;    // splitVer1, splitVer2, splitVer4, splitVer5

// Gives the chart area's splitters their drag rules and resize-on-release feedback.
void setupSplitters(const TChartArea &area);

// FormResize: the main status bar's message panel takes what its fixed panels leave.
void fitMessagePanel(TStatusBar &sbStatus);

// imDownClick: folds the top control strip to 1 pixel, or opens it again.
void foldControlStrip(QWidget &imUp, QWidget &imDown, QWidget &paControls, TStatusBar &sbStatus);

// imDown1Click: folds a slot's control strip to 1 pixel, or opens it again.
void foldSlotStrip(TChartSlot &slot);

// paChartsLeftResize: below 40 pixels the left column shows only its "..." panel.
void collapseLeftColumn(const TChartArea &area);

// paLeftHideClick: the left column takes half the window's outer width again.
void restoreLeftColumn(const TChartArea &area, int outerWidth);

// sbStatus1Resize: a slot's status bar in fifths, 1, 3 and 1.
void divideSlotStatusBar(TStatusBar &bar);

// sbStatus1DblClick: the panel's whole text in an information box; nothing when it is empty.
void showStatusMessage(const TStatusBar &bar, int panel, TDialogs &dialogs, QWidget *owner);

// Half of `width`, an exact half going to the even neighbour.
int halfToEven(int width);

} // namespace WindowLayout
