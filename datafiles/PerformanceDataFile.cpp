#include "PerformanceDataFile.h"

#include "DataFileWriter.h"
#include "ResumableSave.h"
#include "SlotState.h"
#include "SlotView.h"
#include "TDialogs.h"
#include "TWindowContext.h"
#include "TextTrim.h"

namespace {

class Pairs : public SaveEntries {
public:
    Pairs(const SlotState &slot, const SlotView &view) : slot_(slot), view_(view), generation_(slot.listsGeneration) {}

    qsizetype count() const override { return slot_.vDateList.size(); }

    void begin(DataFileWriter &file, qsizetype start) override
    {
        if (start > 0)
            return;
        const QString name = view_.settings().valueName;
        file.writeLine(QStringLiteral("Date,") + (name.isEmpty() ? QStringLiteral("Value") : trimBlanksAndControls(name)));
    }

    bool write(DataFileWriter &file, qsizetype index) override
    {
        // Lists emptied or replaced while events ran end the save before this; kept as a guard.
        if (index >= slot_.vValueList.size() || index >= slot_.vDateList.size())
            return false;
        // Gathered in one buffer that keeps its room: no allocation a pair.
        line_.resize(0);
        slot_.vDateList.appendTo(index, line_);
        line_ += u',';
        slot_.vValueList.appendTo(index, line_);
        file.writeLine(line_);
        return true;
    }

    bool replaced() const override { return slot_.listsGeneration != generation_; }

private:
    const SlotState &slot_;
    const SlotView &view_;
    const quint64 generation_;
    QString line_;
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
