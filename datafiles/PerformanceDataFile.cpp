#include "PerformanceDataFile.h"

#include "DataFileWriter.h"
#include "DesktopShell.h"
#include "ExportMarker.h"
#include "LoopPacer.h"
#include "TChartSlot.h"
#include "TDialogs.h"
#include "TStatusBar.h"
#include "TWindowContext.h"
#include "TWindowState.h"
#include "TextTrim.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

QString headerLine(const QLineEdit &edValueName)
{
    const QString name = edValueName.text();
    return QStringLiteral("Date,") + (name.isEmpty() ? QStringLiteral("Value") : trimBlanksAndControls(name));
}

} // namespace

void ExportPerformanceData(TChartSlot &slot, const TWindowContext &context)
{
    if (slot.vDateList.isEmpty())
        return;
    if (!context.dialogs.askYesNo(context.owner, QStringLiteral("Export Data to csv file?")))
        return;
    const QString fileName = context.dialogs.chooseSaveFile(context.owner);
    if (fileName.isEmpty())
        return;
    slot.edExportFile = fileName;
    SavePerformanceData(slot.edExportFile, slot, context);
}

void SavePerformanceData(QString fileName, TChartSlot &slot, const TWindowContext &context)
{
    if (DataFileWriter::isBeingWritten(fileName))
        return;
    context.state.bAbort = false;
    // The marker of the last line that reached the disk, kept should a later write fail.
    QString writtenMarker = slot.edExFrom;
    try {
        DataFileWriter file(fileName);
        const qsizetype start = file.existed() ? ExportMarker::resumeIndex(slot.edExFrom) : 0;
        slot.sbStatus->setPanelText(1, QStringLiteral("Saving Data..."));
        context.sbStatus.setPanelText(2, QStringLiteral("Saving Performance Data to ") + fileName);
        LoopPacer pacer({slot.sbStatus, &context.sbStatus});
        pacer.repaintNow();
        if (start == 0)
            file.writeLine(headerLine(*slot.edValueName));

        // Samples taken while the loop lets events run are left for the next save.
        const qsizetype last = slot.vDateList.size() - 1;
        for (qsizetype i = start; i <= last; ++i) {
            if (i < slot.vValueList.size() && i < slot.vDateList.size()) {
                file.write(slot.vDateList.at(i));
                file.write(u',');
                file.writeLine(slot.vValueList.at(i));
                slot.edExFrom = QString::number(i);
            }
            slot.sbStatus->setPanelText(1, LoopPacer::progressText(i, slot.vDateList.size()));
            const bool eventsDue = pacer.eventsDue();
            if (eventsDue || file.full()) {
                // Whatever other handlers run next find the file complete up to the marker.
                file.flush();
                writtenMarker = slot.edExFrom;
            }
            if (eventsDue)
                pacer.processEvents();
            if (context.state.bAbort)
                break;
            pacer.repaintWhenDue();
        }
        file.close();

        slot.sbStatus->setPanelText(1, QStringLiteral("Data Saved..."));
        context.sbStatus.setPanelText(2, QStringLiteral("Data Saved to ") + fileName);
        if (!slot.cbAutoSave->isChecked()
            && context.dialogs.askYesNo(context.owner, QStringLiteral("Performance Data Saved to ") + fileName
                                                           + QStringLiteral("\r\nOpen File?")))
            DesktopShell::openFile(fileName);
    } catch (const std::exception &error) {
        slot.edExFrom = writtenMarker;
        slot.tmSample.stop();
        slot.sbStatus->setPanelText(1, QStringLiteral("Sampling Stopped...") + QString::fromUtf8(error.what()));
    }
}
