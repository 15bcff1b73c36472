#include "Regional.h"
#include "SamplingWindow.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString threeRowsOfFour =
    QStringLiteral("select 1 A, 2 B, 3 C, 4 D union all select 5, 6, 7, 8 union all select 9, 10, 11, 12");

QStringList rowOf(const TStringGrid &grid, int row, int columns)
{
    QStringList cells;
    for (int col = 0; col < columns; ++col)
        cells << grid.cells(col, row);
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
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(2);
        slot.cbRawData->click();
        slot.cbTime->setChecked(withTime);
        w.run(2, threeRowsOfFour);
        SamplingWindow::fire(slot);
        SamplingWindow::fire(slot);

        TStringGrid &grid = *slot.sgRawData;
        const int columns = withTime ? 5 : 4;
        QCOMPARE(grid.colCount(), columns);
        QStringList titles{"A", "B", "C", "D"};
        if (withTime)
            titles << "Time";
        QCOMPARE(rowOf(grid, 0, columns), titles);
        QCOMPARE(grid.rowCount(), 1 + 6 + 1);
        for (int sample = 0; sample < 2; ++sample) {
            for (int r = 0; r < 3; ++r) {
                const int row = 1 + 3 * sample + r;
                QCOMPARE(rowOf(grid, row, 4),
                         (QStringList{QString::number(4 * r + 1), QString::number(4 * r + 2),
                                      QString::number(4 * r + 3), QString::number(4 * r + 4)}));
                if (withTime)
                    QVERIFY2(Regional::current().parseTimeLine(grid.cells(4, row)), qPrintable(grid.cells(4, row)));
            }
        }
        QCOMPARE(rowOf(grid, 7, columns), QStringList(columns, QString()));
        QCOMPARE(grid.row(), 7);
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"9", "9"}));
        QVERIFY(slot.sbStatus->panelText(1).startsWith("V.T: "));
        QCOMPARE(slot.edExRawFrom, QString());
        QVERIFY(w.slot(1).sgRawData->cells(0, 0).isEmpty());
    }

    void titlesFollowTheLatestResult()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(3);
        slot.cbRawData->click();
        w.run(3, "select A=1, B=2");
        SamplingWindow::fire(slot);
        slot.cbTime->setChecked(true);
        w.window->reSQL->setPlainText("select C=3, D=4, E=5");
        slot.bbtUpdateSQL->click();
        SamplingWindow::fire(slot);

        TStringGrid &grid = *slot.sgRawData;
        QCOMPARE(rowOf(grid, 0, 4), (QStringList{"C", "D", "E", "Time"}));
        QCOMPARE(rowOf(grid, 1, 4), (QStringList{"1", "2", "", ""})); // captured before the time column
        QCOMPARE(rowOf(grid, 2, 3), (QStringList{"3", "4", "5"}));
        QVERIFY(!grid.cells(3, 2).isEmpty());

        // No rows: the titles are written again, no row is added.
        w.window->reSQL->setPlainText("select F=1 where 1=0");
        slot.bbtUpdateSQL->click();
        slot.cbTime->setChecked(false);
        SamplingWindow::fire(slot);
        QCOMPARE(grid.colCount(), 1);
        QCOMPARE(grid.cells(0, 0), QString("F"));
        QCOMPARE(grid.rowCount(), 4);
    }

    void captureGoesOnWhileTheGridIsHiddenAndAfterClearRaw()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(5);
        slot.cbRawData->click();
        slot.sgRawData->dblClick();
        QVERIFY(slot.sgRawData->isHidden());
        w.run(5, "select A=1");
        SamplingWindow::fire(slot);
        QCOMPARE(slot.sgRawData->rowCount(), 3);

        slot.bbtClearRawData->click();
        SamplingWindow::fire(slot);
        QCOMPARE(slot.sgRawData->rowCount(), 3);
        QCOMPARE(rowOf(*slot.sgRawData, 0, 1), QStringList{"A"});
        QCOMPARE(rowOf(*slot.sgRawData, 1, 1), QStringList{"1"});

        // Unticked: capture stops, the rows stay.
        slot.cbRawData->click();
        SamplingWindow::fire(slot);
        QCOMPARE(slot.sgRawData->rowCount(), 3);
        QCOMPARE(slot.vValueList.size(), 3);
    }

    void abortWritesTitlesButNoRows()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(6);
        slot.cbRawData->click();
        w.run(6, "select A=1, B=2");
        w.window->state.bAbort = true;
        SamplingWindow::fire(slot);
        QCOMPARE(rowOf(*slot.sgRawData, 0, 2), (QStringList{"A", "B"}));
        QCOMPARE(slot.sgRawData->rowCount(), 2);
        QCOMPARE(slot.vTmpList, (QStringList{"A", "B"}));
    }

    void rowIndicatorDuringCapture()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(1);
        slot.cbRawData->click();
        w.run(1, threeRowsOfFour);
        SamplingWindow::fire(slot);
        const QString sampleTime = slot.sbStatus->panelText(1);
        QCOMPARE(sampleTime.size(), 13); // "V.T: " and an eight-character time
        slot.sgRawData->setRow(2);
        QCOMPARE(slot.sbStatus->panelText(1), sampleTime + " - R: 4");
        slot.sgRawData->setRow(1);
        QCOMPARE(slot.sbStatus->panelText(1), sampleTime + " - R: 2");
    }
};

QUINTARO_TEST(RawCaptureTest)
#include "RawCaptureTest.moc"
