#include "RawDataFile.h"

#include "DataFileLines.h"
#include "ResumableSave.h"
#include "SlotState.h"
#include "SlotView.h"
#include "TDialogs.h"
#include "TWindowContext.h"

#include <QStringList>

namespace {

class RawRows : public SaveEntries {
public:
    RawRows(const TStringGridModel &grid, const SlotView &view) : grid_(grid), view_(view) {}

    qsizetype count() const override { return grid_.gridRowCount(); }

    void begin(DataFileWriter &, qsizetype) override
    {
        delimiter_ = DataFileLines::rawDelimiter(view_.settings().separator);
    }

    bool write(DataFileWriter &file, qsizetype index) override
    {
        cells_.resize(grid_.gridColCount());
        for (int col = 0; col < cells_.size(); ++col)
            cells_[col] = grid_.cell(col, int(index));
        return DataFileLines::writeRawRow(file, cells_, delimiter_);
    }

private:
    const TStringGridModel &grid_;
    const SlotView &view_;
    QString delimiter_;
    QStringList cells_; // reused row after row
};

} // namespace

void ExportRawData(SlotState &slot, SlotView &view, const TWindowContext &context)
{
    if (slot.vRawData.gridRowCount() <= 2)
        return;
    if (!context.dialogs.askYesNo(context.owner, QStringLiteral("Export Raw Data to csv file?")))
        return;
    const QString fileName = context.dialogs.chooseSaveFile(context.owner);
    if (fileName.isEmpty())
        return;
    slot.edExportRawFile = fileName;
    SaveRawData(slot.edExportRawFile, slot, view, context);
}

void SaveRawData(QString fileName, SlotState &slot, SlotView &view, const TWindowContext &context)
{
    RawRows rows(slot.vRawData, view);
    static const SaveTexts texts{QStringLiteral("Saving Raw Data..."), QStringLiteral("Saving Raw Performance Data to "),
                                 QStringLiteral("Saved Raw Performance Data to "),
                                 QStringLiteral("Raw Performance Saved Data to ")};
    SaveResumably(fileName, slot.edExRawFrom, rows, texts, slot, view, context);
}
