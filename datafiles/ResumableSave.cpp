#include "ResumableSave.h"

#include "DataFileWriter.h"
#include "DesktopShell.h"
#include "ExportMarker.h"
#include "LoopPacer.h"
#include "SlotState.h"
#include "SlotView.h"
#include "StatusPanels.h"
#include "TDialogs.h"
#include "TWindowContext.h"
#include "TWindowState.h"

void SaveResumably(const QString &fileName, QString &marker, SaveEntries &entries, const SaveTexts &texts,
                   SlotState &slot, SlotView &view, const TWindowContext &context)
{
    StatusPanels &slotStatus = view.status();
    if (DataFileWriter::isBeingWritten(fileName)) {
        slotStatus.setPanelText(1, QStringLiteral("Already being saved: ") + fileName);
        return;
    }
    context.state.bAbort = false;
    // The marker of the last entry that reached the disk, kept should a later write fail.
    QString writtenMarker = marker;
    try {
        DataFileWriter file(fileName);
        if (!file.existed()) {
            // The marker was another file's: should this save fail, the next one starts afresh.
            marker.clear();
            writtenMarker.clear();
        }
        const qsizetype start = ExportMarker::resumeIndex(marker);
        slotStatus.setPanelText(1, texts.saving);
        context.sbStatus.setPanelText(2, texts.savingTo + fileName);
        LoopPacer pacer({&slotStatus, &context.sbStatus});
        pacer.repaintNow();
        entries.begin(file, start);

        // Entries added while the loop lets events run are left for the next save.
        const qsizetype last = entries.count() - 1;
        for (qsizetype i = start; i <= last; ++i) {
            if (entries.write(file, i))
                marker = QString::number(i);
            slotStatus.setPanelText(1, LoopPacer::progressText(i, entries.count()));
            const bool eventsDue = pacer.eventsDue();
            if (eventsDue || file.full()) {
                // Whatever other handlers run next find the file complete up to the marker.
                file.flush();
                writtenMarker = marker;
            }
            if (eventsDue)
                pacer.processEvents();
            if (entries.replaced()) {
                // What was written is the old lines' and on disk; the marker is the new lines'.
                file.close();
                slotStatus.setPanelText(1, QStringLiteral("Save ended: the slot's data was replaced"));
                pacer.repaintNow();
                return;
            }
            if (context.state.bAbort)
                break;
            pacer.repaintWhenDue();
        }
        file.close();

        slotStatus.setPanelText(1, QStringLiteral("Data Saved..."));
        context.sbStatus.setPanelText(2, texts.savedTo + fileName);
        pacer.repaintNow();
        if (!view.settings().autoSave
            && context.dialogs.askYesNo(context.owner, texts.saved + fileName + QStringLiteral("\r\nOpen File?")))
            DesktopShell::openFile(fileName);
    } catch (const std::exception &error) {
        marker = writtenMarker;
        slot.stopSampling();
        slotStatus.setPanelText(1, QStringLiteral("Sampling Stopped...") + QString::fromUtf8(error.what()));
    }
}
