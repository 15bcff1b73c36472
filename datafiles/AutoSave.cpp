#include "AutoSave.h"

#include "PerformanceDataFile.h"
#include "RawDataFile.h"
#include "SlotState.h"
#include "SlotView.h"
#include "StatusPanels.h"
#include "TDialogs.h"
#include "TWindowContext.h"

void ChooseAutoSaveFile(SlotState &slot, SlotView &view, const TWindowContext &context)
{
    if (!view.settings().autoSave)
        return;
    try {
        context.sbStatus.setPanelText(2, QStringLiteral("Select File to Save Data..."));
        const QString fileName = context.dialogs.chooseSaveFile(context.owner);
        if (fileName.isEmpty()) {
            view.setAutoSave(false);
            return;
        }
        (view.settings().getRaw ? slot.edExportRawFile : slot.edExportFile) = fileName;
        context.sbStatus.setPanelText(2, QStringLiteral("F: ") + fileName);
    } catch (const std::exception &) {
        // A failed choice leaves auto-save as the box shows it, without a message.
    }
}

void AutoSaveSlot(SlotState &slot, SlotView &view, const TWindowContext &context)
{
    if (!view.settings().autoSave)
        return;
    if (!slot.edExportFile.isEmpty())
        SavePerformanceData(slot.edExportFile, slot, view, context);
    if (!slot.edExportRawFile.isEmpty())
        SaveRawData(slot.edExportRawFile, slot, view, context);
}
