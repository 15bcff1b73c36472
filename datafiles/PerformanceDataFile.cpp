#include "PerformanceDataFile.h"

#include "DataFileLines.h"
#include "ResumableSave.h"
#include "SlotState.h"
#include "SlotView.h"
#include "TDialogs.h"
#include "TWindowContext.h"

namespace {

class Pairs : public SaveEntries {
public:
    Pairs(const SlotState &slot, const SlotView &view) : slot_(slot), view_(view), generation_(slot.listsGeneration) {}

    qsizetype count() const override { return slot_.vDateList.size(); }

    void begin(DataFileWriter &file, qsizetype start) override
    {
        if (start == 0)
            DataFileLines::writePerformanceHeader(file, view_.settings().valueName);
    }

    bool write(DataFileWriter &file, qsizetype index) override
    {
        // Lists emptied or replaced while events ran end the save before this; kept as a guard.
        if (index >= slot_.vValueList.size() || index >= slot_.vDateList.size())
            return false;
        DataFileLines::writePair(file, slot_.vDateList, slot_.vValueList, index);
        return true;
    }

    bool replaced() const override { return slot_.listsGeneration != generation_; }

private:
    const SlotState &slot_;
    const SlotView &view_;
    const quint64 generation_;
};

} // namespace

void ExportPerformanceData(SlotState &slot, SlotView &view, const TWindowContext &context)
{
    if (slot.vDateList.isEmpty())
        return;
    if (!context.dialogs.askYesNo(context.owner, QStringLiteral("Export Data to csv file?")))
        return;
    const QString fileName = context.dialogs.chooseSaveFile(context.owner);
    if (fileName.isEmpty())
        return;
    slot.edExportFile = fileName;
    SavePerformanceData(slot.edExportFile, slot, view, context);
}

void SavePerformanceData(QString fileName, SlotState &slot, SlotView &view, const TWindowContext &context)
{
    Pairs pairs(slot, view);
    static const SaveTexts texts{QStringLiteral("Saving Data..."), QStringLiteral("Saving Performance Data to "),
                                 QStringLiteral("Data Saved to "), QStringLiteral("Performance Data Saved to ")};
    SaveResumably(fileName, slot.edExFrom, pairs, texts, slot, view, context);
}
