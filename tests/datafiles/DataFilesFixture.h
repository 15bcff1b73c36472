#pragma once

#include "ScriptedDialogs.h"
#include "SlotState.h"
#include "SlotView.h"
#include "TStatusBar.h"
#include "TWindowContext.h"
#include "TWindowState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <memory>

// A status bar that notes the text of one panel each time it is repainted at once.
class WatchedStatusBar : public TStatusBar {
public:
    WatchedStatusBar(const QVector<int> &panelWidths, int watchedPanel)
        : TStatusBar(panelWidths), watched_(watchedPanel)
    {
    }
    void repaintNow() override
    {
        repainted << panelText(watched_);
        TStatusBar::repaintNow();
    }

    QStringList repainted;

private:
    int watched_;
};

// A slot without a window, as the window's slot is both: its state, and a view answering with
// the settings a test sets, showing texts in a real status bar and noting what the chart was
// asked to do.
class SlotUnderTest : public SlotState, public SlotView {
public:
    explicit SlotUnderTest(int number) : SlotState(number) {}

    SlotSettings settings() const override { return controls; }
    StatusPanels &status() override { return statusBar; }
    void setValueName(const QString &name) override { controls.valueName = name; }
    void setAutoSave(bool ticked) override { controls.autoSave = ticked; }
    // Noted as "draw all: <n> pairs" or "draw newest: <n> pairs", n the pairs in the lists then.
    bool drawChart(bool append) override;
    // Noted as "title: <title>".
    void setChartTitle(const QString &title) override { chart << QStringLiteral("title: ") + title; }
    void runStarted() override {}
    void runStopped() override {}
    void rawRowAdded(int) override {}

    SlotSettings controls;
    WatchedStatusBar statusBar{{98, 200, 500}, 1};
    QStringList chart;
};

// Slots and the window-wide context, in a fresh folder, with scripted dialogs and the regional
// settings "dd/MM/yyyy HH:mm:ss" with "." as the decimal point.
struct DataFilesFixture {
    DataFilesFixture();

    // Made on first use.
    SlotUnderTest &slot(int n);
    QString path(const QString &name) const { return folder.filePath(name); }
    // The pairs "01/02/2026 10:00:<i>" and "<i>.5" for i in [first, first + count).
    static void addPairs(SlotState &slot, int first, int count);

    QTemporaryDir folder;
    QStringList scratch;
    TWindowState state{scratch};
    WatchedStatusBar sbStatus{{120, 130, 500, 50}, 2};
    ScriptedDialogs dialogs;
    TWindowContext context{state, sbStatus, dialogs, nullptr};

private:
    std::map<int, std::unique_ptr<SlotUnderTest>> slots_;
};

// The raw rows as a capture leaves them: column names in row 0, rows below, the last row empty.
void fillRawRows(TStringGridModel &grid, const QList<QStringList> &rows);

// The expected data line of pair i of addPairs, with its CR LF.
QByteArray pairLine(int i);
QByteArray readBytes(const QString &fileName);
void writeBytes(const QString &fileName, const QByteArray &bytes);
// The text in the system's narrow encoding, which the data files use.
QByteArray narrow(const QString &text);
