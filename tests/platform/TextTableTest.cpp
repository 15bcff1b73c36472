#include "TestRegistry.h"
#include "TextTable.h"

#include <QTest>

// A result's rows carried as one buffer: every cell reads back exactly, wherever it sits.
class TextTableTest : public QObject {
    Q_OBJECT

private slots:
    void cellsReadBackAsWritten_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("cells"); // row after row
        QTest::newRow("no rows") << QStringList{"A", "B"} << QStringList{};
        QTest::newRow("one column") << QStringList{"V"} << QStringList{"1", "2", "3"};
        QTest::newRow("empty cells first, between and last")
            << QStringList{"A", "B", "C"} << QStringList{"", "x", "", "", "", "y"};
        QTest::newRow("non-ASCII, with surrogate pairs")
            << QStringList{"A", "B"}
            << QStringList{"Größe €", QString::fromUtf8("\xF0\x9F\x98\x80"), QString::fromUtf8("日本語"), "a;b,c\r\n"};
    }
    void cellsReadBackAsWritten()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, cells);
        TextTable table(names);
        for (const QString &cell : cells)
            table.append(cell);
        QCOMPARE(table.names(), names);
        QCOMPARE(table.rowCount(), cells.size() / names.size());
        for (qsizetype i = 0; i < cells.size(); ++i)
            QCOMPARE(table.cell(i / names.size(), int(i % names.size())), cells[i]);
        // Outside the table every cell reads as empty.
        QCOMPARE(table.cell(table.rowCount(), 0), QString());
        QCOMPARE(table.cell(0, int(names.size())), QString());
        QCOMPARE(table.cell(0, -1), QString());
    }

    void manyRowsGrowTheBufferWithoutLosingOne()
    {
        TextTable table({"N", "Text"});
        for (int i = 0; i < 100000; ++i) {
            table.append(QString::number(i));
            table.append(QStringLiteral("line %1").arg(i));
        }
        QCOMPARE(table.rowCount(), 100000);
        for (int i : {0, 1, 4095, 65536, 99999}) {
            QCOMPARE(table.cell(i, 0), QString::number(i));
            QCOMPARE(table.cell(i, 1), QStringLiteral("line %1").arg(i));
        }
    }
};

QUINTARO_TEST(TextTableTest)
#include "TextTableTest.moc"
