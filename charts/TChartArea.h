#pragma once

class QLabel;
class QSplitter;
class QWidget;

// The containers of the chart area that the layout actions size: two columns side by side,
// each a fill pane over two panes docked to its bottom.
struct TChartArea {
    QSplitter *columns;      // paChartsLeft | splitHor | paChartsRight
    QWidget *paChartsLeft;
    QWidget *paChartsRight;
    QSplitter *leftPanes;    // slots 1, 3, 5
    QSplitter *rightPanes;   // slots 2, 4, 6
    QLabel *paLeftHide;      // the "..." panel over a collapsed left column
};
