#include "RawGrid.h"

#include "TChart.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TStringGrid.h"

#include <QCheckBox>

namespace {

constexpr int indicatorPrefixLength = 13;

} // namespace

namespace RawGrid {

void followGetRaw(TChartSlot &slot)
{
    slot.chrtStatistics->setFillChild(slot.sgRawData);
    slot.sgRawData->setVisible(slot.cbRawData->isChecked());
}

void toggle(TChartSlot &slot)
{
    if (slot.cbRawData->isChecked())
        slot.sgRawData->setVisible(slot.sgRawData->isHidden());
}

void clearRaw(TChartSlot &slot)
{
    slot.sgRawData->clearCells();
    slot.sgRawData->setRowCount(2);
    // Where a later save into an existing file resumes is settled with the data files.
    slot.edExRawFrom.clear();
}

void showRowIndicator(TStatusBar &sbStatus, int currentRow)
{
    sbStatus.setPanelText(1, sbStatus.panelText(1).left(indicatorPrefixLength) + QStringLiteral(" - R: ")
                                 + QString::number(currentRow));
}

} // namespace RawGrid
