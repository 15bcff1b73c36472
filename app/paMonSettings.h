#pragma once

#include "ConnectionSettings.h"
#include "SharedConnection.h"
#include "TChartArea.h"
#include "TChartSlot.h"
#include "TWindowContext.h"
#include "TWindowState.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

class ConnectionControls;
class CustomSqlControls;
class MonitoringCatalogue;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class TDialogs;
class TFoldPicture;
class TRadioGroup;
class TStatusBar;
class TStringGrid;

// The program's one window: it builds and owns every widget, the six chart slots, the timers
// and the dialogs, and hands each event to the subsystem that does the work.
class TfmMonSettings : public QWidget {
    Q_OBJECT
public:
    static constexpr int slotCount = 6;

    explicit TfmMonSettings(QStringList &vScratchList, QWidget *parent = nullptr);
    ~TfmMonSettings() override;

    TDialogs &dialogs() { return *dialogs_; }
    TWindowContext context();
    // Tests answer the modal boxes and file dialogs through their own seam.
    void setDialogs(std::unique_ptr<TDialogs> dialogs);

    // The connection settings as the control strip shows them now.
    ConnectionSettings connectionSettings() const;

    // Slot 1..6 by tag; nullptr for any other tag.
    TChartSlot *slotByTag(int tag);
    TChartSlot *slotOf(QObject *sender);

    TWindowState state;

    // Fold bar and connection/query strip.
    QWidget *paHide = nullptr;
    TFoldPicture *imUp = nullptr;
    TFoldPicture *imDown = nullptr;
    QWidget *paControls = nullptr;
    QComboBox *edSRV = nullptr;
    QLineEdit *edDB = nullptr;
    QLineEdit *edUsr = nullptr;
    QLineEdit *edPassword = nullptr;
    QPushButton *bbtConnect = nullptr;
    QCheckBox *cbOLEDB = nullptr;
    QCheckBox *cbODBC = nullptr;
    QComboBox *cbMonTable = nullptr;
    QPlainTextEdit *meTableDesc = nullptr;
    QComboBox *cbMonColumn = nullptr;
    QPlainTextEdit *meColumnDesc = nullptr;
    QCheckBox *cbCustom = nullptr;
    QPushButton *bbtLoadSQL = nullptr;
    QPlainTextEdit *reSQL = nullptr;
    TRadioGroup *rgGRP = nullptr;
    QPushButton *bbtSample = nullptr;
    TStringGrid *sgTest = nullptr;

    // Chart area.
    QWidget *paChartsControl = nullptr;
    QSplitter *columns = nullptr; // its handle is splitHor
    QWidget *paChartsLeft = nullptr;
    QWidget *paChartsRight = nullptr;
    QSplitter *leftPanes = nullptr;  // handles splitVer1, splitVer2
    QSplitter *rightPanes = nullptr; // handles splitVer4, splitVer5
    QLabel *paLeftHide = nullptr;
    TStatusBar *sbStatus = nullptr;

    // Custom SQL panel.
    QFrame *paCustomSQL = nullptr;
    QPlainTextEdit *reLoadSQL = nullptr;
    QPushButton *btLoadSQL = nullptr;
    QPushButton *bbtSaveSQL = nullptr;
    QLineEdit *edFileName = nullptr;

    // The shared connection and its query, on their worker; made once the status bar exists.
    std::unique_ptr<SharedConnection> dblocal;
    QTimer tmExit;

public slots:
    void FormCreate();
    void FormActivate();
    void AppException(const QString &message, const QString &typeName);
    void FormKeyPress(QChar key);
    void tmExitTimer();

    // Connect, monitoring catalogue, Test.
    void cbOLEDBClick();
    void cbODBCClick();
    void bbtConnectClick();
    void cbMonTableChange();
    void cbMonColumnChange();
    void bbtSampleClick();

    // Custom SQL panel.
    void bbtLoadSQLClick();
    void btLoadSQLClick();
    void bbtSaveSQLClick();

    // Window layout.
    void FormResize();
    void imDownClick();
    void imDown1Click();
    void paChartsLeftResize();
    void paLeftHideClick();
    void sbStatus1Resize();
    void sbStatus1DblClick();

    // Sampling and the slot's chart and raw grid; each serves all six slots by the sender's Tag.
    void bbtStartSampling1Click();
    void bbtStopSampling1Click();
    void bbtShowSQL1Click();
    void bbtUpdateSQL1Click();
    void tmSample1Timer();
    void tmWait1Timer();
    void cbStyle1Change();
    void cbMarks1Click();
    void paColor1Click();
    void bbtClear1Click();
    void cbRawData1Click();
    void chrtStatistics1DblClick();
    void sgRawData1DblClick();
    void bbtClearRawData1Click();
    void sgRawData1SelectCell(int col, int row, int currentRow);

    // Data files: Export, Export Raw, Auto Save and Load of every slot, and the auto-save tick.
public slots:
    void bbtExport1Click();
    void bbtExportRawData1Click();
    void cbAutoSave1Click();
    void tmSaveTimer();
    void bbtLoadClick();
public:
    QTimer tmSave;
private:
    void connectDataFiles();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupFoldBar();
    void setupControlStrip();
    void setupChartArea();
    QWidget *setupChartColumn(const char *columnName, QSplitter *&panes, int firstSlot,
                              const char *upperSplitter, const char *lowerSplitter);
    void setupCustomSqlPanel();
    void setupTimers();
    void connectConnection();
    MonitoringCatalogue catalogue();
    void connectSampling();
    void connectCustomSql();
    void connectLayout();
    TChartArea chartArea() const;
    void setOuterWidth(int width);

    std::unique_ptr<TDialogs> dialogs_;
    std::array<std::unique_ptr<TChartSlot>, slotCount> slots_;
    // What the connection actions see of the strip and of the custom SQL panel.
    std::unique_ptr<ConnectionControls> connectionControls_;
    std::unique_ptr<CustomSqlControls> customSqlControls_;
};
