#include "DataFilesFixture.h"

#include "Regional.h"

#include <QFile>
#include <QStringEncoder>

namespace {
QString pairDate(int i)
{
    return QStringLiteral("01/02/2026 %1:%2:%3")
        .arg(10 + i / 3600, 2, 10, QLatin1Char('0'))
        .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

DataFilesFixture::DataFilesFixture()
{
    Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
}

void DataFilesFixture::addPairs(SlotState &slot, int first, int count)
{
    for (int i = first; i < first + count; ++i) {
        slot.vDateList.append(pairDate(i));
        slot.vValueList.append(QString::number(i) + QStringLiteral(".5"));
    }
}

void fillRawRows(TStringGridModel &grid, const QList<QStringList> &rows)
{
    grid.setGridColCount(int(rows.first().size()));
    grid.setGridRowCount(int(rows.size()) + 1);
    for (int row = 0; row < rows.size(); ++row)
        for (int col = 0; col < rows[row].size(); ++col)
            grid.setCell(col, row, rows[row][col]);
}

QByteArray pairLine(int i)
{
    return (pairDate(i) + QStringLiteral(",%1.5\r\n").arg(i)).toLatin1();
}

QByteArray readBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray narrow(const QString &text)
{
    QStringEncoder encode(QStringConverter::System);
    return encode(text);
}
