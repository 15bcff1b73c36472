#include "DataFileLines.h"

#include "DataFileWriter.h"
#include "LineList.h"
#include "TextTrim.h"

#include <algorithm>

namespace {

bool holdsText(QStringView cell)
{
    return std::any_of(cell.begin(), cell.end(), [](QChar c) { return c.unicode() > u' '; });
}

} // namespace

namespace DataFileLines {

void writePerformanceHeader(DataFileWriter &file, const QString &valueName)
{
    file.writeLine(QStringLiteral("Date,") +
                   (valueName.isEmpty() ? QStringLiteral("Value") : trimBlanksAndControls(valueName)));
}

void writePair(DataFileWriter &file, const LineList &dates, const LineList &values, qsizetype index)
{
    // Gathered in one buffer that keeps its room: no allocation a pair.
    static thread_local QString line;
    line.resize(0);
    dates.appendTo(index, line);
    line += u',';
    values.appendTo(index, line);
    file.writeLine(line);
}

QString rawDelimiter(const QString &separator)
{
    const QString delimiter = trimBlanksAndControls(separator);
    return delimiter.isEmpty() ? QStringLiteral("^") : delimiter;
}

bool writeRawRow(DataFileWriter &file, const QStringList &cells, const QString &delimiter)
{
    if (std::none_of(cells.cbegin(), cells.cend(), [](const QString &cell) { return holdsText(cell); }))
        return false;
    for (qsizetype col = 0; col + 1 < cells.size(); ++col) {
        file.write(cells[col]);
        file.write(delimiter);
    }
    file.writeLine(cells.last());
    return true;
}

} // namespace DataFileLines
