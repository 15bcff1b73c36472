#pragma once

#include "LineList.h"
#include "TConnection.h"
#include "TQuery.h"

#include <QStringList>
#include <QTimer>

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

// Everything that samples one query into one chart. The widgets belong to the window's widget
// tree; the slot holds them by pointer and owns its timer, connection, query and state holders.
class TChartSlot {
public:
    explicit TChartSlot(int number);
    TChartSlot(const TChartSlot &) = delete;
    TChartSlot &operator=(const TChartSlot &) = delete;

    // The slot number 1..6, carried as the Tag of every control that raises an event.
    int number() const { return number_; }
    // A slot runs exactly while its sample timer is enabled.
    bool running() const { return tmSample.isActive(); }

    // Pane, from top to bottom.
    QFrame *pane = nullptr;
    TStatusBar *sbStatus = nullptr;
    TChart *chrtStatistics = nullptr;
    TStringGrid *sgRawData = nullptr; // lies over the chart, hidden at start
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

    QTimer tmSample;
    TConnection dbLocal;
    TQuery qryDynamic{dbLocal};

    // State holders, all text.
    QString vSQL;
    // One line per recorded sample, held compactly: a week at one sample a second is 604,800 lines.
    LineList vDateList;
    LineList vValueList;
    QStringList vTmpList;
    QString edValue;
    QString edExportFile;
    QString edExportRawFile;
    QString edExFrom;
    QString edExRawFrom;

private:
    int number_;
};
