#pragma once

#include <QString>

class StatusPanels;

// A slot's controls as they stand when an action reads them: settings are never copied ahead.
struct SlotSettings {
    QString interval;       // edInterval
    bool getRaw = false;    // cbRawData
    bool withTime = false;  // cbTime
    bool sameConn = true;   // cbSameConn
    bool autoSave = false;  // cbAutoSave
    QString valueName;      // edValueName
    QString separator;      // edSeparator
};

// What a slot's work shows in the slot's pane. The window's slot implements it with widgets;
// sampling and the data files know only this.
class SlotView {
public:
    virtual ~SlotView() = default;

    virtual SlotSettings settings() const = 0;
    // The slot's status bar: 0 server, 1 messages, 2 last value.
    virtual StatusPanels &status() = 0;
    virtual void setValueName(const QString &name) = 0;
    virtual void setAutoSave(bool ticked) = 0;
    // DrawSlotChart: the newest sample (append) or every sample; false when a line could not
    // be read, which has stopped the slot.
    virtual bool drawChart(bool append) = 0;
    // The chart's title, as a load names what it shows; the chart is redrawn separately.
    virtual void setChartTitle(const QString &title) = 0;
    // Run has started the slot: marks follow their box and the style is locked.
    virtual void runStarted() = 0;
    // Stop: the style can change again.
    virtual void runStopped() = 0;
    // A raw row was added at grid row `row`; the grid follows it.
    virtual void rawRowAdded(int row) = 0;
};
