#pragma once

#include "PointLines.h"
#include "SlotState.h"
#include "SlotView.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TChart;
class TFoldPicture;
class TStatusBar;
class TStringGrid;

// One chart slot as the window has it: the slot's state and the widgets of its pane, which
// belong to the window's widget tree and are held here by pointer. It is the view the slot's
// sampling and data files report to.
class TChartSlot : public SlotState, public SlotView {
public:
    explicit TChartSlot(int number);

    // Pane, from top to bottom.
    QFrame *pane = nullptr;
    TStatusBar *sbStatus = nullptr;
    TChart *chrtStatistics = nullptr;
    TStringGrid *sgRawData = nullptr; // shows vRawData over the chart, hidden at start
    QWidget *paHide = nullptr;
    TFoldPicture *imUp = nullptr;
    TFoldPicture *imDown = nullptr;
    QWidget *paControls = nullptr;

    // Control strip.
    QPushButton *bbtStartSampling = nullptr;
    QPushButton *bbtStopSampling = nullptr;
    QLabel *lbInterval = nullptr; // "Sec."
    QLineEdit *edInterval = nullptr;
    QComboBox *cbStyle = nullptr;
    QCheckBox *cbTime = nullptr;
    QPushButton *bbtLoad = nullptr;
    QPushButton *bbtShowSQL = nullptr;
    QPushButton *bbtUpdateSQL = nullptr;
    QFrame *paColor = nullptr;
    QLabel *lbTitle = nullptr; // "Title"
    QLineEdit *edValueName = nullptr;
    QCheckBox *cbMarks = nullptr;
    QPushButton *bbtExport = nullptr;
    QCheckBox *cbRawData = nullptr;
    QPushButton *bbtExportRawData = nullptr;
    QCheckBox *cbSameConn = nullptr;
    QCheckBox *cbAutoSave = nullptr;
    QCheckBox *cbDelta = nullptr;
    QPushButton *bbtClear = nullptr;
    QLabel *lbDelimiter = nullptr; // "Delimiter:"
    QLineEdit *edSeparator = nullptr;
    QPushButton *bbtClearRawData = nullptr;

    // The line behind each point of the chart, for the readout.
    PointLines pointLines;
    // The lists the chart was last drawn from.
    quint64 drawnGeneration = 0;

    SlotSettings settings() const override;
    StatusPanels &status() override;
    void setValueName(const QString &name) override;
    void setAutoSave(bool ticked) override;
    bool drawChart(bool append) override;
    void setChartTitle(const QString &title) override;
    void runStarted() override;
    void runStopped() override;
    void rawRowAdded(int row) override;
};
