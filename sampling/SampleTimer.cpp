#include "SampleTimer.h"

#include "RawCapture.h"
#include "Regional.h"
#include "SlotChart.h"
#include "TChartSlot.h"
#include "TQuery.h"
#include "TStatusBar.h"
#include "TWindowState.h"
#include "TextTrim.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QTimer>
#include <limits>

namespace {

constexpr int millisecondsPerSecond = 1000;
const QString automaticName = QStringLiteral("CustomField");
const QString unnamedFirstColumn = QStringLiteral("COLUMN1");

// Whole seconds of at least one; anything else keeps the interval the timer has, so a typing
// slip never hammers the server.
void takeInterval(QTimer &tmSample, const QLineEdit &edInterval)
{
    bool whole = false;
    const int seconds = edInterval.text().toInt(&whole);
    if (whole && seconds >= 1 && seconds <= std::numeric_limits<int>::max() / millisecondsPerSecond)
        tmSample.setInterval(seconds * millisecondsPerSecond);
}

void nameValue(QLineEdit &edValueName, const QString &firstColumn)
{
    const QString current = edValueName.text();
    if (!current.isEmpty() && !current.startsWith(automaticName, Qt::CaseSensitive))
        return;
    const QString name = firstColumn == unnamedFirstColumn
                             ? automaticName + u'-' + QString::number(edValueName.property("Tag").toInt())
                             : firstColumn;
    if (name != current)
        edValueName.setText(name);
}

void stopWith(QTimer &tmSample, TStatusBar &sbStatus, const QString &text)
{
    tmSample.stop();
    sbStatus.setPanelText(1, text);
}

} // namespace

namespace SampleTimer {

bool TakeSample(QTimer &tmSample, TQuery &qryDynamic, const QString &vSQL, QStringList &vTmpList,
                const QCheckBox &cbRawData, TStringGrid &sgRawData, QString &edValue, TStatusBar &sbStatus,
                QLineEdit &edValueName, bool withTime, const bool &bAbort)
{
    try {
        const QString statement = vSQL;
        qryDynamic.close();
        qryDynamic.clear();
        qryDynamic.add(QStringLiteral("/**/"));
        qryDynamic.add(statement);
        qryDynamic.open();
        edValue.clear();
        vTmpList.clear();
        qryDynamic.getFieldNames(vTmpList);
        if (cbRawData.isChecked())
            RawCapture::prepare(sgRawData, vTmpList, withTime);
        for (;;) {
            if (qryDynamic.eof()) {
                vTmpList.clear();
                qryDynamic.close();
                return true;
            }
            if (bAbort) {
                qryDynamic.close();
                return true;
            }
            const QString firstColumn = vTmpList.value(0);
            edValue = qryDynamic.fieldByName(firstColumn);
            nameValue(edValueName, firstColumn);
            if (cbRawData.isChecked())
                RawCapture::copyRow(sgRawData, vTmpList, qryDynamic, withTime);
            qryDynamic.next();
        }
    } catch (const std::exception &error) {
        stopWith(tmSample, sbStatus, QStringLiteral("Sampling Stopped...\r\n") + QString::fromUtf8(error.what()));
        return false;
    }
}

void tick(TChartSlot &slot, const TWindowState &state)
{
    slot.tmSample.stop();
    try {
        takeInterval(slot.tmSample, *slot.edInterval);
        if (TakeSample(slot.tmSample, slot.qryDynamic, slot.vSQL, slot.vTmpList, *slot.cbRawData, *slot.sgRawData,
                       slot.edValue, *slot.sbStatus, *slot.edValueName, slot.cbTime->isChecked(), state.bAbort))
            recordSample(slot);
    } catch (const std::exception &error) {
        stopWith(slot.tmSample, *slot.sbStatus, QStringLiteral("Sampling Stopped...") + QString::fromUtf8(error.what()));
    }
}

void recordSample(TChartSlot &slot)
{
    // One reading of the clock serves the recorded line and the status text.
    const QString timeLine = Regional::current().formatTimeLine(QDateTime::currentDateTime());
    QString value;
    // An empty value (no rows, a null, the abort flag) records nothing.
    if (!slot.edValue.isEmpty()) {
        value = trimBlanksAndControls(slot.edValue);
        slot.vValueList.append(value);
        slot.vDateList.append(timeLine);
    }
    if (!value.isEmpty()) {
        slot.sbStatus->setPanelText(2, QStringLiteral("L.V: ") + value);
        if (!SlotChart::draw(slot, slot.vDateList.size() != 1))
            return;
    }
    // The time line is the short date, one blank, the long time.
    slot.sbStatus->setPanelText(1, QStringLiteral("V.T: ") + timeLine.mid(timeLine.indexOf(u' ') + 1));
    slot.tmSample.start();
}

} // namespace SampleTimer
