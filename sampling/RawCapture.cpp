#include "RawCapture.h"

#include "Regional.h"
#include "TQuery.h"
#include "TStringGrid.h"

#include <QDateTime>

namespace RawCapture {

void prepare(TStringGrid &sgRawData, const QStringList &vTmpList, bool withTime)
{
    const int names = int(vTmpList.size());
    sgRawData.setColCount(names + (withTime ? 1 : 0));
    for (int i = 0; i < names; ++i)
        sgRawData.setCells(i, 0, vTmpList[i]);
    if (withTime)
        sgRawData.setCells(names, 0, QStringLiteral("Time"));
}

void copyRow(TStringGrid &sgRawData, const QStringList &vTmpList, const TQuery &qryDynamic, bool withTime)
{
    const int row = sgRawData.rowCount() - 1;
    const int names = int(vTmpList.size());
    for (int i = 0; i < names; ++i)
        sgRawData.setCells(i, row, qryDynamic.fieldByName(vTmpList[i]));
    if (withTime)
        sgRawData.setCells(sgRawData.colCount() - 1, row,
                           Regional::current().formatTimeLine(QDateTime::currentDateTime()));
    sgRawData.setRowCount(row + 2);
    sgRawData.setRow(row + 1);
}

} // namespace RawCapture
