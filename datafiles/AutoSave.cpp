#include "AutoSave.h"

#include "PerformanceDataFile.h"
#include "RawDataFile.h"
#include "TChartSlot.h"
#include "TDialogs.h"
#include "TStatusBar.h"
#include "TWindowContext.h"

#include <QCheckBox>

void ChooseAutoSaveFile(TChartSlot &slot, const TWindowContext &context)
{
    if (!slot.cbAutoSave->isChecked())
        return;
    try {
        context.sbStatus.setPanelText(2, QStringLiteral("Select File to Save Data..."));
        const QString fileName = context.dialogs.chooseSaveFile(context.owner);
        if (fileName.isEmpty()) {
            slot.cbAutoSave->setChecked(false);
            return;
        }
        (slot.cbRawData->isChecked() ? slot.edExportRawFile : slot.edExportFile) = fileName;
        context.sbStatus.setPanelText(2, QStringLiteral("F: ") + fileName);
    } catch (const std::exception &) {
        // A failed choice leaves auto-save as the box shows it, without a message.
    }
}

void AutoSaveSlot(TChartSlot &slot, const TWindowContext &context)
{
    if (!slot.cbAutoSave->isChecked())
        return;
    if (!slot.edExportFile.isEmpty())
        SavePerformanceData(slot.edExportFile, slot, context);
    if (!slot.edExportRawFile.isEmpty())
        SaveRawData(slot.edExportRawFile, slot, context);
}
