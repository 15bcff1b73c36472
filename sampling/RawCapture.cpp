#include "RawCapture.h"

#include "Regional.h"
#include "TStringGridModel.h"
#include "TextTable.h"

#include <QDateTime>

namespace RawCapture {

void prepare(TStringGridModel &vRawData, const QStringList &vTmpList, bool withTime)
{
    const int names = int(vTmpList.size());
    vRawData.setGridColCount(names + (withTime ? 1 : 0));
    for (int i = 0; i < names; ++i)
        vRawData.setCell(i, 0, vTmpList[i]);
    if (withTime)
        vRawData.setCell(names, 0, QStringLiteral("Time"));
}

int copyRow(TStringGridModel &vRawData, const TextTable &result, qsizetype row, bool withTime)
{
    const int last = vRawData.gridRowCount() - 1;
    for (int i = 0; i < result.columnCount(); ++i)
        vRawData.setCell(i, last, result.cell(row, i));
    if (withTime)
        vRawData.setCell(vRawData.gridColCount() - 1, last,
                         Regional::current().formatTimeLine(QDateTime::currentDateTime()));
    vRawData.setGridRowCount(last + 2);
    return last + 1;
}

} // namespace RawCapture
