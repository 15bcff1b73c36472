#include "RawDataFile.h"

#include "DataFileWriter.h"
#include "DesktopShell.h"
#include "ExportMarker.h"
#include "LoopPacer.h"
#include "TChartSlot.h"
#include "TDialogs.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TWindowContext.h"
#include "TWindowState.h"
#include "TextTrim.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>

namespace {

bool holdsText(QStringView cell)
{
    return std::any_of(cell.begin(), cell.end(), [](QChar c) { return c.unicode() > u' '; });
}

QString delimiterOf(const QLineEdit &edSeparator)
{
    const QString delimiter = trimBlanksAndControls(edSeparator.text());
    return delimiter.isEmpty() ? QStringLiteral("^") : delimiter;
}

// Reads the row's cells into `cells`; false when none holds more than blanks and controls.
bool readRow(const TStringGridModel &grid, int row, QStringList &cells)
{
    cells.resize(grid.gridColCount());
    for (int col = 0; col < cells.size(); ++col)
        cells[col] = grid.cell(col, row);
    return std::any_of(cells.cbegin(), cells.cend(), [](const QString &cell) { return holdsText(cell); });
}

} // namespace

void ExportRawData(TChartSlot &slot, const TWindowContext &context)
{
    if (slot.sgRawData->rowCount() <= 2)
        return;
    if (!context.dialogs.askYesNo(context.owner, QStringLiteral("Export Raw Data to csv file?")))
        return;
    const QString fileName = context.dialogs.chooseSaveFile(context.owner);
    if (fileName.isEmpty())
        return;
    slot.edExportRawFile = fileName;
    SaveRawData(slot.edExportRawFile, slot, context);
}

void SaveRawData(QString fileName, TChartSlot &slot, const TWindowContext &context)
{
    if (DataFileWriter::isBeingWritten(fileName))
        return;
    context.state.bAbort = false;
    // The marker of the last row that reached the disk, kept should a later write fail.
    QString writtenMarker = slot.edExRawFrom;
    try {
        DataFileWriter file(fileName);
        const qsizetype start = file.existed() ? ExportMarker::resumeIndex(slot.edExRawFrom) : 0;
        context.sbStatus.setPanelText(2, QStringLiteral("Saving Raw Performance Data to ") + fileName);
        slot.sbStatus->setPanelText(1, QStringLiteral("Saving Raw Data..."));
        LoopPacer pacer({slot.sbStatus, &context.sbStatus});
        pacer.repaintNow();
        const QString delimiter = delimiterOf(*slot.edSeparator);

        // Rows captured while the loop lets events run are left for the next save.
        const TStringGridModel &grid = slot.sgRawData->gridModel();
        const qsizetype last = grid.gridRowCount() - 1;
        QStringList cells;
        for (qsizetype row = start; row <= last; ++row) {
            if (readRow(grid, int(row), cells)) {
                for (qsizetype col = 0; col + 1 < cells.size(); ++col) {
                    file.write(cells[col]);
                    file.write(delimiter);
                }
                file.writeLine(cells.last());
                slot.edExRawFrom = QString::number(row);
            }
            slot.sbStatus->setPanelText(1, LoopPacer::progressText(row, grid.gridRowCount()));
            pacer.repaintWhenDue();
            const bool eventsDue = pacer.eventsDue();
            if (eventsDue || file.full()) {
                // Whatever other handlers run next find the file complete up to the marker.
                file.flush();
                writtenMarker = slot.edExRawFrom;
            }
            if (eventsDue)
                pacer.processEvents();
            if (context.state.bAbort)
                break;
        }
        file.close();

        slot.sbStatus->setPanelText(1, QStringLiteral("Data Saved..."));
        context.sbStatus.setPanelText(2, QStringLiteral("Saved Raw Performance Data to ") + fileName);
        pacer.repaintNow();
        if (!slot.cbAutoSave->isChecked()
            && context.dialogs.askYesNo(context.owner, QStringLiteral("Raw Performance Saved Data to ") + fileName
                                                           + QStringLiteral("\r\nOpen File?")))
            DesktopShell::openFile(fileName);
    } catch (const std::exception &error) {
        slot.edExRawFrom = writtenMarker;
        slot.tmSample.stop();
        slot.sbStatus->setPanelText(1, QStringLiteral("Sampling Stopped...") + QString::fromUtf8(error.what()));
    }
}
