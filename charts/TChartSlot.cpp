#include "TChartSlot.h"

#include "SlotChart.h"
#include "TChart.h"
#include "TStatusBar.h"
#include "TStringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

TChartSlot::TChartSlot(int number) : SlotState(number)
{
}

SlotSettings TChartSlot::settings() const
{
    return {edInterval->text(),      cbRawData->isChecked(),  cbTime->isChecked(), cbSameConn->isChecked(),
            cbAutoSave->isChecked(), edValueName->text(),     edSeparator->text()};
}

StatusPanels &TChartSlot::status()
{
    return *sbStatus;
}

void TChartSlot::setValueName(const QString &name)
{
    edValueName->setText(name);
}

void TChartSlot::setAutoSave(bool ticked)
{
    cbAutoSave->setChecked(ticked);
}

bool TChartSlot::drawChart(bool append)
{
    return SlotChart::draw(*this, append);
}

void TChartSlot::setChartTitle(const QString &title)
{
    chrtStatistics->setTitleText(title);
}

void TChartSlot::runStarted()
{
    SlotChart::applyMarks(*this);
    cbStyle->setEnabled(false);
}

void TChartSlot::runStopped()
{
    cbStyle->setEnabled(true);
}

void TChartSlot::rawRowAdded(int row)
{
    sgRawData->setRow(row);
}
