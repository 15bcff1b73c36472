#include "Regional.h"
#include "RunControl.h"
#include "SamplingFixture.h"
#include "TestRegistry.h"

#include <QTest>

namespace {

const QString threeRowsOfFour =
    QStringLiteral("select 1 A, 2 B, 3 C, 4 D union all select 5, 6, 7, 8 union all select 9, 10, 11, 12");

QStringList rowOf(const TStringGridModel &grid, int row, int columns)
{
    QStringList cells;
    for (int col = 0; col < columns; ++col)
        cells << grid.cell(col, row);
    return cells;
}

} // namespace

class RawCaptureTest : public SamplingTestCase {
    Q_OBJECT

private slots:

    void everyRowCaptured_data()
    {
        QTest::addColumn<bool>("withTime");
        QTest::newRow("without time") << false;
        QTest::newRow("with time") << true;
    }

    void everyRowCaptured()
    {
        QFETCH(bool, withTime);
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(2);
        slot.controls.getRaw = true;
        slot.controls.withTime = withTime;
        QVERIFY(w.run(slot, threeRowsOfFour));
        QVERIFY(w.tick(slot));
        QVERIFY(w.tick(slot));

        const TStringGridModel &grid = slot.vRawData;
        const int columns = withTime ? 5 : 4;
        QCOMPARE(grid.gridColCount(), columns);
        QStringList titles{"A", "B", "C", "D"};
        if (withTime)
            titles << "Time";
        QCOMPARE(rowOf(grid, 0, columns), titles);
        QCOMPARE(grid.gridRowCount(), 1 + 6 + 1);
        for (int sample = 0; sample < 2; ++sample) {
            for (int r = 0; r < 3; ++r) {
                const int row = 1 + 3 * sample + r;
                QCOMPARE(rowOf(grid, row, 4),
                         (QStringList{QString::number(4 * r + 1), QString::number(4 * r + 2),
                                      QString::number(4 * r + 3), QString::number(4 * r + 4)}));
                if (withTime)
                    QVERIFY2(Regional::current().parseTimeLine(grid.cell(4, row)), qPrintable(grid.cell(4, row)));
            }
        }
        QCOMPARE(rowOf(grid, 7, columns), QStringList(columns, QString()));
        // The grid follows the empty last row as it moves down.
        QCOMPARE(slot.followedRows, (QList<int>{2, 3, 4, 5, 6, 7}));
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"9", "9"}));
        // "V.T: " and an eight-character time, the prefix the row indicator keeps.
        QVERIFY(slot.statusBar.panelText(1).startsWith("V.T: "));
        QCOMPARE(slot.statusBar.panelText(1).size(), 13);
        QCOMPARE(slot.edExRawFrom, QString());
        QVERIFY(w.slot(1).vRawData.cell(0, 0).isEmpty());
    }

    void titlesFollowTheLatestResult()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(3);
        slot.controls.getRaw = true;
        QVERIFY(w.run(slot, "select A=1, B=2"));
        QVERIFY(w.tick(slot));
        slot.controls.withTime = true;
        RunControl::updateSQL(slot, "select C=3, D=4, E=5");
        QVERIFY(w.tick(slot));

        const TStringGridModel &grid = slot.vRawData;
        QCOMPARE(rowOf(grid, 0, 4), (QStringList{"C", "D", "E", "Time"}));
        QCOMPARE(rowOf(grid, 1, 4), (QStringList{"1", "2", "", ""})); // captured before the time column
        QCOMPARE(rowOf(grid, 2, 3), (QStringList{"3", "4", "5"}));
        QVERIFY(!grid.cell(3, 2).isEmpty());

        // No rows: the titles are written again, no row is added.
        RunControl::updateSQL(slot, "select F=1 where 1=0");
        slot.controls.withTime = false;
        QVERIFY(w.tick(slot));
        QCOMPARE(grid.gridColCount(), 1);
        QCOMPARE(grid.cell(0, 0), QString("F"));
        QCOMPARE(grid.gridRowCount(), 4);
        QCOMPARE(slot.followedRows, (QList<int>{2, 3}));
    }

    void captureGoesOnAfterClearRawAndStopsWhenUnticked()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(5);
        slot.controls.getRaw = true;
        QVERIFY(w.run(slot, "select A=1"));
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vRawData.gridRowCount(), 3);

        // What Clear Raw leaves: every cell empty, the title row and one empty row.
        slot.vRawData.clearCells();
        slot.vRawData.setGridRowCount(2);
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vRawData.gridRowCount(), 3);
        QCOMPARE(rowOf(slot.vRawData, 0, 1), QStringList{"A"});
        QCOMPARE(rowOf(slot.vRawData, 1, 1), QStringList{"1"});

        // Unticked: capture stops, the rows stay.
        slot.controls.getRaw = false;
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vRawData.gridRowCount(), 3);
        QCOMPARE(slot.vValueList.size(), 3);
        QCOMPARE(slot.followedRows, (QList<int>{2, 2}));
    }

    void abortWritesTitlesButNoRows()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(6);
        slot.controls.getRaw = true;
        QVERIFY(w.run(slot, "select A=1, B=2"));
        w.state.bAbort = true;
        QVERIFY(w.tick(slot));
        QCOMPARE(rowOf(slot.vRawData, 0, 2), (QStringList{"A", "B"}));
        QCOMPARE(slot.vRawData.gridRowCount(), 2);
        QVERIFY(slot.followedRows.isEmpty());
        QCOMPARE(slot.vTmpList, (QStringList{"A", "B"}));
    }
};

QUINTARO_TEST(RawCaptureTest)
#include "RawCaptureTest.moc"
