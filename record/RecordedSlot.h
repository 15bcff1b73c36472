#pragma once

#include "PanelTexts.h"
#include "RecordingFiles.h"
#include "SlotConfig.h"
#include "SlotMetrics.h"
#include "SlotState.h"
#include "SlotView.h"

#include <QElapsedTimer>
#include <QTimer>
#include <optional>

struct TWindowState;

// A slot of the recorder: the window's slot state sampled by the window's Run and tick, with a
// view that has no widget. Its status panels are where it learns how the slot fares: the texts
// Run and the tick write there mark a login, a recorded sample and a failure, and each change
// of state is logged once. A failed slot is run again after a pause that doubles up to a minute,
// while the other slots go on.
class RecordedSlot : public SlotState, public SlotView, private PanelTexts {
public:
    static constexpr int firstRetryMs = 1000;
    static constexpr int longestRetryMs = 60000;

    // state and sbStatus stand for the window's; both outlive the slot.
    RecordedSlot(const SlotConfig &config, TWindowState &state, StatusPanels &sbStatus);

    SlotMetrics metrics() const { return metrics_; }

    void start();
    // Sampling and retries end; whatever is recorded and not yet in the files is written.
    void stop();

    SlotSettings settings() const override;
    StatusPanels &status() override { return *this; }
    void setValueName(const QString &name) override { valueName_ = name; }
    void setAutoSave(bool) override {}
    // The pair is in the lists; the sample's end writes it out.
    bool drawChart(bool) override { return true; }
    void setChartTitle(const QString &) override {}
    void runStarted() override {}
    void runStopped() override {}
    void rawRowAdded(int) override {}

    void setPanelText(int panel, const QString &text) override;

private:
    enum class Phase { Starting, Connected, Sampling, Waiting, Failed };

    void run();
    void sampleEnded();
    void connected(const QString &processId);
    void failed(const QString &reason);
    void writeFiles();
    void log(const QString &text) const;

    SlotConfig config_;
    TWindowState &state_;
    StatusPanels &sbStatus_;
    RecordingFiles files_;
    QString valueName_;
    SlotMetrics metrics_;
    std::optional<double> lastNumber_;
    QElapsedTimer sampleClock_;
    qsizetype valuesBeforeTick_ = 0;
    QTimer retry_;
    int retryMs_ = firstRetryMs;
    Phase phase_ = Phase::Starting;
    bool everConnected_ = false;
    QString lastFailure_;
    bool writeFailing_ = false;
};
