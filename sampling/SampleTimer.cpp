#include "SampleTimer.h"

#include "RawCapture.h"
#include "Regional.h"
#include "SlotState.h"
#include "SlotView.h"
#include "StatusPanels.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TWindowState.h"
#include "TextTrim.h"

#include <QDateTime>
#include <limits>

namespace {

constexpr int millisecondsPerSecond = 1000;
const QString automaticName = QStringLiteral("CustomField");
const QString unnamedFirstColumn = QStringLiteral("COLUMN1");

// What a sample brings back from the worker.
struct TakenSample {
    TextTable rows;
    std::chrono::microseconds roundTrip{};
};

// Whole seconds of at least one; anything else keeps the interval the timer has, so a typing
// slip never hammers the server.
void takeInterval(QTimer &tmSample, const QString &edInterval)
{
    bool whole = false;
    const int seconds = edInterval.toInt(&whole);
    if (whole && seconds >= 1 && seconds <= std::numeric_limits<int>::max() / millisecondsPerSecond)
        tmSample.setInterval(seconds * millisecondsPerSecond);
}

void nameValue(SlotView &view, int number, const QString &firstColumn)
{
    const QString current = view.settings().valueName;
    if (!current.isEmpty() && !current.startsWith(automaticName, Qt::CaseSensitive))
        return;
    const QString name =
        firstColumn == unnamedFirstColumn ? automaticName + u'-' + QString::number(number) : firstColumn;
    if (name != current)
        view.setValueName(name);
}

void stopWith(SlotState &slot, SlotView &view, const QString &text)
{
    slot.stopSampling();
    view.status().setPanelText(1, text);
}

} // namespace

namespace SampleTimer {

TextTable TakeSample(TQuery &qryDynamic, const QString &vSQL)
{
    qryDynamic.setStatement({vSQL});
    qryDynamic.open();
    TextTable result;
    qryDynamic.readRows(result);
    qryDynamic.close();
    return result;
}

void takeRows(SlotState &slot, SlotView &view, const TextTable &result, const bool &bAbort)
{
    slot.edValue.clear();
    slot.vTmpList = result.names();
    const SlotSettings settings = view.settings();
    if (settings.getRaw)
        RawCapture::prepare(slot.vRawData, slot.vTmpList, settings.withTime);
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        if (bAbort)
            return;
        // The name depends on the first column only, so naming it once serves every row.
        if (row == 0)
            nameValue(view, slot.number(), slot.vTmpList.value(0));
        slot.edValue = result.cell(row, 0);
        if (settings.getRaw)
            view.rawRowAdded(RawCapture::copyRow(slot.vRawData, result, row, settings.withTime));
    }
    slot.vTmpList.clear();
}

void tick(SlotState &slot, SlotView &view, const TWindowState &state)
{
    slot.tmSample.stop();
    // Never two of one slot's statements at the server: the answer to the last one restarts
    // the timer.
    if (slot.waiting())
        return;
    takeInterval(slot.tmSample, view.settings().interval);
    const QString statement = slot.vSQL;
    slot.outstanding = slot.dbLocal.request<TakenSample>(
        ConnectionWorker::Deadline::Query,
        [statement](TConnection &, TQuery &query, TakenSample &sample) {
            sample.rows = TakeSample(query, statement);
            // Timed on the worker where the statement runs, so the window's own work never counts.
            sample.roundTrip = query.roundTrip();
        },
        [&slot, &view, &state](const ConnectionWorker::Reply<TakenSample> &reply) {
            slot.tmWait.stop();
            if (!reply.ok())
                return stopWith(slot, view, QStringLiteral("Sampling Stopped...\r\n") + reply.error);
            try {
                slot.roundTripSummary.add(reply.value.roundTrip);
                takeRows(slot, view, reply.value.rows, state.bAbort);
                recordSample(slot, view, reply.value.roundTrip);
            } catch (const std::exception &error) {
                stopWith(slot, view, QStringLiteral("Sampling Stopped...") + QString::fromUtf8(error.what()));
            }
        });
    slot.tmWait.start(slot.tmSample.interval());
}

void waited(SlotView &view)
{
    view.status().setPanelText(1, QStringLiteral("Waiting for the server..."));
}

void recordSample(SlotState &slot, SlotView &view, std::optional<std::chrono::microseconds> roundTrip)
{
    // One reading of the clock serves the recorded line and the status text.
    const QString timeLine = Regional::current().formatTimeLine(QDateTime::currentDateTime());
    QString value;
    // An empty value (no rows, a null, the abort flag) records nothing.
    if (!slot.edValue.isEmpty()) {
        value = trimBlanksAndControls(slot.edValue);
        slot.vValueList.append(value);
        slot.vDateList.append(timeLine);
        if (roundTrip)
            slot.roundTrips.record(slot.vValueList.size() - 1, slot.listsGeneration, *roundTrip);
    }
    if (!value.isEmpty()) {
        view.status().setPanelText(2, QStringLiteral("L.V: ") + value);
        if (!view.drawChart(slot.vDateList.size() != 1))
            return;
    }
    // The time line is the short date, one blank, the long time.
    view.status().setPanelText(1, QStringLiteral("V.T: ") + timeLine.mid(timeLine.indexOf(u' ') + 1));
    slot.tmSample.start();
}

} // namespace SampleTimer
