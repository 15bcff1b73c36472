#include "RecordingFiles.h"

#include "DataFileLines.h"
#include "DataFileWriter.h"
#include "LineList.h"
#include "TStringGridModel.h"

#include <QFileInfo>
#include <QStringList>

namespace {

bool startsAfresh(const QString &fileName)
{
    return QFileInfo(fileName).size() == 0;
}

} // namespace

RecordingFiles::RecordingFiles(const QString &dataFile, const QString &rawFile, const QString &delimiter)
    : dataFile_(dataFile), rawFile_(rawFile), delimiter_(DataFileLines::rawDelimiter(delimiter))
{
}

void RecordingFiles::appendPairs(LineList &vDateList, LineList &vValueList, const QString &valueName)
{
    if (vDateList.isEmpty())
        return;
    const bool header = startsAfresh(dataFile_);
    DataFileWriter file(dataFile_);
    if (header)
        DataFileLines::writePerformanceHeader(file, valueName);
    for (qsizetype i = 0; i < vDateList.size() && i < vValueList.size(); ++i)
        DataFileLines::writePair(file, vDateList, vValueList, i);
    file.close();
    vDateList.clear();
    vValueList.clear();
}

void RecordingFiles::appendRawRows(TStringGridModel &vRawData)
{
    // The title row and the empty last row: no sample has added a row.
    if (!recordsRaw() || vRawData.gridRowCount() <= 2)
        return;
    const bool header = startsAfresh(rawFile_);
    DataFileWriter file(rawFile_);
    QStringList cells(vRawData.gridColCount());
    for (int row = header ? 0 : 1; row < vRawData.gridRowCount(); ++row) {
        for (int col = 0; col < cells.size(); ++col)
            cells[col] = vRawData.cell(col, row);
        DataFileLines::writeRawRow(file, cells, delimiter_);
    }
    file.close();
    // The title row stays; the next sample's rows start at row 1 again.
    vRawData.setGridRowCount(1);
    vRawData.setGridRowCount(2);
}
