#include "PerformanceDataLoader.h"

#include "ExportMarker.h"
#include "LoopPacer.h"
#include "Regional.h"
#include "SlotState.h"
#include "SlotView.h"
#include "StatusPanels.h"
#include "TDialogs.h"
#include "TWindowContext.h"
#include "TWindowState.h"
#include "TextLineReader.h"

#include <QScopeGuard>
#include <QStringBuilder>
#include <algorithm>

namespace {

constexpr qsizetype maxValueLength = 100;

bool isHeader(QStringView datePart)
{
    // Only ASCII letters change case here, so no other character passes for one of "DATE".
    return datePart.size() == 4 && QStringView(u"DATE").compare(datePart, Qt::CaseInsensitive) == 0
           && std::all_of(datePart.begin(), datePart.end(), [](QChar c) { return c.unicode() < 128; });
}

} // namespace

void LoadPerformanceData(SlotState &slot, SlotView &view, const TWindowContext &context)
{
    const QString fileName = context.dialogs.chooseOpenFile(context.owner);
    if (fileName.isEmpty())
        return;
    slot.stopSampling();
    try {
        QString title;
        {
            TextLineReader file(fileName);
            slot.vDateList.clear();
            slot.vValueList.clear();
            ++slot.listsGeneration;
            // The loaded pairs are the file's: a later save into it appends only newer samples,
            // however the reading ends.
            const auto markLoadedPairs =
                qScopeGuard([&slot] { slot.edExFrom = ExportMarker::afterEntries(slot.vDateList.size()); });
            context.sbStatus.setPanelText(2, QStringLiteral("Loading Performance Data..."));
            LoopPacer pacer({&context.sbStatus});
            pacer.repaintNow();

            const Regional &regional = Regional::current();
            bool headerSeen = false;
            QString headerName;
            QStringView line;
            // Copied into room kept from line to line: only the last one is wanted.
            QString lastLine;
            qsizetype lineCount = 0;
            // The count the progress text shows; it is written only when the panel is repainted
            // and once at the end, which is all anyone sees of it.
            qsizetype shownCount = 0;
            const auto showCount = [&context, &shownCount] {
                context.sbStatus.setPanelText(2, u"Loaded " % QString::number(shownCount) % u" Rows...");
            };
            while (file.readLine(line)) {
                if (context.state.bAbort) {
                    context.sbStatus.setPanelText(2, QStringLiteral("Loading Performance Data Aborted..."));
                    return;
                }
                ++lineCount;
                lastLine.resize(0);
                lastLine += line;
                const qsizetype comma = line.indexOf(u',');
                const QStringView datePart = line.left(std::max<qsizetype>(0, comma));
                const QStringView valuePart = line.sliced(comma + 1).left(maxValueLength);
                if (headerSeen) {
                    headerSeen = false;
                    const QString name = view.settings().valueName;
                    title = QStringLiteral("Statistics for ") + (name.isEmpty() ? headerName : name)
                            + QStringLiteral(" taken from ") + datePart.toString();
                }
                if (isHeader(datePart)) {
                    headerSeen = true;
                    headerName = valuePart.toString();
                } else if (slot.vDateList.appendTimeLine(datePart, regional)) {
                    slot.vValueList.append(valuePart);
                } else {
                    continue;
                }
                shownCount = lineCount;
                if (pacer.repaintDue()) {
                    showCount();
                    pacer.repaintNow();
                }
            }
            if (shownCount > 0)
                showCount();
            title += QStringLiteral(" to ") + lastLine.left(std::max<qsizetype>(0, lastLine.indexOf(u',')));
        }
        view.setChartTitle(title);
        context.sbStatus.setPanelText(2, QStringLiteral("Loaded Performance Data from ") + fileName);
        view.drawChart(false);
    } catch (const std::exception &error) {
        context.sbStatus.setPanelText(2, QStringLiteral("Sampling Stopped Due to Exception...")
                                             + QString::fromUtf8(error.what()));
    }
}
