#include "TStringGrid.h"
#include "TestRegistry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <malloc.h>

namespace {

qsizetype heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qsizetype(info.uordblks + info.hblkhd);
}

// Fills the empty last row and adds a new one, as raw capture does for each result row.
void captureRow(TStringGrid &grid, const QStringList &values)
{
    const int last = grid.rowCount() - 1;
    for (int col = 0; col < values.size(); ++col)
        grid.setCells(col, last, values[col]);
    grid.setRowCount(last + 2);
    grid.setRow(last + 1);
}

} // namespace

class TStringGridTest : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        TStringGrid grid;
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.colCount(), 5);
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.col(), 0);
        QCOMPARE(grid.rowHeight(0), 20);
        QCOMPARE(grid.columnWidth(4), 64);
        QCOMPARE(grid.horizontalHeader()->height(), 20);
        QVERIFY(grid.verticalHeader()->isHidden());
        QCOMPARE(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(grid.showGrid());
        QCOMPARE(grid.options(), TStringGrid::RangeSelect | TStringGrid::GridLines);
    }

    void options_data()
    {
        QTest::addColumn<TStringGrid::Options>("options");
        QTest::addColumn<int>("behavior");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("resizable");
        QTest::addColumn<bool>("movable");
        QTest::addColumn<bool>("editable");
        QTest::newRow("test result: rows, sizing, moving")
            << (TStringGrid::RowSelect | TStringGrid::ColSizing | TStringGrid::ColMoving)
            << int(QAbstractItemView::SelectRows) << int(QAbstractItemView::SingleSelection) << true
            << true << false;
        QTest::newRow("raw data: ranges, sizing, editing")
            << (TStringGrid::RangeSelect | TStringGrid::ColSizing | TStringGrid::Editing
                | TStringGrid::GridLines)
            << int(QAbstractItemView::SelectItems) << int(QAbstractItemView::ExtendedSelection)
            << true << false << true;
        QTest::newRow("nothing") << TStringGrid::Options() << int(QAbstractItemView::SelectItems)
                                 << int(QAbstractItemView::SingleSelection) << false << false
                                 << false;
    }
    void options()
    {
        QFETCH(TStringGrid::Options, options);
        QFETCH(int, behavior);
        QFETCH(int, mode);
        QFETCH(bool, resizable);
        QFETCH(bool, movable);
        QFETCH(bool, editable);
        TStringGrid grid;
        grid.setOptions(options);
        QCOMPARE(int(grid.selectionBehavior()), behavior);
        QCOMPARE(int(grid.selectionMode()), mode);
        QCOMPARE(grid.horizontalHeader()->sectionResizeMode(0) == QHeaderView::Interactive, resizable);
        QCOMPARE(grid.horizontalHeader()->sectionsMovable(), movable);
        QCOMPARE(grid.gridModel().isEditable(), editable);
        QCOMPARE(grid.editTriggers() != QAbstractItemView::NoEditTriggers, editable);
        QCOMPARE(grid.showGrid(), bool(options & TStringGrid::GridLines));
    }

    // The handler runs before the move: the grid's row is still the one being left.
    void clickSelectsCellAfterAsking()
    {
        TStringGrid grid(nullptr, 3, 10);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QList<QList<int>> asked;
        connect(&grid, &TStringGrid::selectCell, &grid, [&](int col, int row, int currentRow) {
            asked.append({col, row, currentRow, grid.row()});
        });
        const auto click = [&](int col, int row) {
            const QRect cell = grid.visualRect(grid.gridModel().index(row - 1, col));
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        };
        click(1, 7);
        click(2, 3);
        click(2, 3); // the current cell again asks nothing
        QCOMPARE(asked, (QList<QList<int>>{{1, 7, 1, 1}, {2, 3, 7, 7}}));
        QCOMPARE(grid.row(), 3);
        QCOMPARE(grid.col(), 2);
    }

    void setRowAsksThenScrollsOnceRowsArrive()
    {
        TStringGrid grid(nullptr, 2, 2);
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy asked(&grid, &TStringGrid::selectCell);
        for (int row = 1; row <= 1000; ++row)
            captureRow(grid, {QString::number(row), QStringLiteral("x")});
        QCOMPARE(asked.count(), 1000);
        QCOMPARE(asked.last(), (QList<QVariant>{0, 1001, 1000}));
        QCOMPARE(grid.row(), 1001);
        QTRY_COMPARE(grid.currentIndex().row(), 1000);
        QVERIFY(grid.viewport()->rect().intersects(grid.visualRect(grid.currentIndex())));

        // Clearing back to two rows moves the current cell without asking.
        grid.clearCells();
        grid.setRowCount(2);
        QCOMPARE(asked.count(), 1000);
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.currentIndex().row(), 0);
    }

    void typingEditsOnlyWhenEditing_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("cell");
        QTest::newRow("editing") << true << QStringLiteral("42");
        QTest::newRow("read only") << false << QStringLiteral("old");
    }
    void typingEditsOnlyWhenEditing()
    {
        QFETCH(bool, editing);
        QFETCH(QString, cell);
        TStringGrid grid(nullptr, 2, 4);
        grid.setOptions(editing ? TStringGrid::Editing : TStringGrid::Options());
        grid.setCells(1, 2, QStringLiteral("old"));
        grid.setCells(0, 3, QStringLiteral("4 is here"));
        grid.show();
        grid.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setCurrentIndex(grid.gridModel().index(1, 1));
        QSignalSpy asked(&grid, &TStringGrid::selectCell);
        QTest::keyClick(&grid, '4'); // opens the editor when editing, holding the "4"
        QTest::keyClick(QApplication::focusWidget(), '2');
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(grid.cells(1, 2), cell); // the editor commits from the event loop
        QCOMPARE(asked.count(), 0); // typing does not jump to a cell starting with "4"
    }

    // A million captured rows of five short columns, in a grid attached to its view.
    void millionRowsStayCompact()
    {
        const qsizetype before = heapInUse();
        QElapsedTimer clock;
        clock.start();
        {
            TStringGrid grid;
            const QString time = QStringLiteral("10/12/2026 10:15:29");
            QStringList values{QString(), QString(), QStringLiteral("master"), QString(), time};
            for (int row = 1; row <= 1000000; ++row) {
                values[0] = QString::number(row);
                values[1] = QString::number(row % 977 * 31);
                values[3] = QString::number(row * 7);
                captureRow(grid, values);
            }
            const qint64 captureNs = clock.nsecsElapsed();
            QCoreApplication::processEvents(); // the view takes the rows in one batch
            const qsizetype used = heapInUse() - before;
            qInfo("1,000,000 rows x 5 columns: %.1f MB on the heap (cells %.1f MB), %.2f us a row",
                  double(used) / 1e6, double(grid.gridModel().storageBytes()) / 1e6,
                  double(captureNs) / 1e9);
            QCOMPARE(grid.rowCount(), 1000002);
            QCOMPARE(grid.cells(4, 1000000), time);
            QCOMPARE(grid.cells(0, 999999), QStringLiteral("999999"));
            QVERIFY2(used < 200'000'000, qPrintable(QString::number(used)));
        }
    }
};

QUINTARO_TEST(TStringGridTest)
#include "TStringGridTest.moc"
