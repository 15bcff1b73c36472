#include "TStringGridModel.h"
#include "TestRegistry.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

// The plain grid the compact one must behave like: every cell its own string.
class ReferenceGrid {
public:
    ReferenceGrid(int cols, int rows) : m_cells(rows, QStringList(cols, QString())) {}
    int rows() const { return int(m_cells.size()); }
    int cols() const { return int(m_cells.front().size()); }
    QString cell(int col, int row) const { return m_cells[row][col]; }
    void setCell(int col, int row, const QString &text) { m_cells[row][col] = text; }
    void setRows(int rows) { m_cells.resize(std::max(rows, 1), QStringList(cols(), QString())); }
    void setCols(int cols)
    {
        for (QStringList &row : m_cells)
            row.resize(std::max(cols, 1));
    }
    void clear()
    {
        for (QStringList &row : m_cells)
            row.fill(QString());
    }

private:
    std::vector<QStringList> m_cells;
};

} // namespace

class TStringGridModelTest : public QObject {
    Q_OBJECT

    static void compare(const TStringGridModel &grid, const ReferenceGrid &reference)
    {
        QCOMPARE(grid.gridRowCount(), reference.rows());
        QCOMPARE(grid.gridColCount(), reference.cols());
        for (int row = 0; row < reference.rows(); ++row) {
            for (int col = 0; col < reference.cols(); ++col)
                QCOMPARE(grid.cell(col, row), reference.cell(col, row));
        }
    }

private slots:
    void startsAsGivenSize()
    {
        const TStringGridModel grid;
        QCOMPARE(grid.gridRowCount(), 2);
        QCOMPARE(grid.gridColCount(), 5);
        QCOMPARE(grid.rowCount(), 1); // the title row is the header, not a view row
        QCOMPARE(grid.columnCount(), 5);
        QCOMPARE(grid.cell(4, 1), QString());
    }

    // Random writes, resizes and clears on a small grid, checked cell by cell against a plain
    // grid, with Qt's model tester watching every change notification.
    void behavesLikePlainGrid_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("appendMostly");
        QTest::newRow("random cells") << 7u << false;
        QTest::newRow("capture pattern") << 11u << true;
    }
    void behavesLikePlainGrid()
    {
        QFETCH(quint32, seed);
        QFETCH(bool, appendMostly);
        QRandomGenerator random(seed);
        TStringGridModel grid(3, 2);
        QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
        ReferenceGrid reference(3, 2);
        for (int step = 0; step < 2500; ++step) {
            const int choice = random.bounded(100);
            if (choice < 75) {
                const int col = random.bounded(grid.gridColCount() + 1) - (appendMostly ? 0 : 1);
                const int row = appendMostly && choice < 60 ? grid.gridRowCount() - 1
                                                            : random.bounded(grid.gridRowCount() + 1);
                const QString text = choice % 5 == 0   ? QString()
                                     : choice % 3 == 0 ? "é€" + QString::number(random.generate(), 36)
                                                       : QString::number(random.generate(), 36);
                grid.setCell(col, row, text);
                if (col >= 0 && col < reference.cols() && row < reference.rows())
                    reference.setCell(col, row, text);
            } else if (choice < 92) {
                const int rows = appendMostly ? grid.gridRowCount() + 1 : random.bounded(0, 25);
                grid.setGridRowCount(rows);
                reference.setRows(rows);
            } else if (choice < 98) {
                const int cols = random.bounded(0, 7);
                grid.setGridColCount(cols);
                reference.setCols(cols);
            } else {
                grid.clearCells();
                reference.clear();
            }
            if (step % 50 == 0)
                grid.publishRows();
            compare(grid, reference);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("differs after step %1").arg(step)));
        }
    }

    void titleRowIsHorizontalHeader()
    {
        TStringGridModel grid(3, 2);
        QSignalSpy headerChanged(&grid, &QAbstractItemModel::headerDataChanged);
        grid.setCell(1, 0, QStringLiteral("SPID"));
        QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("SPID"));
        QCOMPARE(headerChanged.count(), 1);
        grid.setCell(1, 0, QStringLiteral("SPID")); // rewritten unchanged at every sample
        QCOMPARE(headerChanged.count(), 1);
        QCOMPARE(grid.data(grid.index(0, 1)).toString(), QString()); // view row 0 is grid row 1
    }

    // Capture fills the empty last row, then adds a new one; views learn of new rows in one
    // batch, and of removed rows at once.
    void rowsReachViewsInBatches()
    {
        TStringGridModel grid(2, 2);
        QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&grid, &QAbstractItemModel::rowsRemoved);
        for (int sample = 1; sample <= 3; ++sample) {
            const int last = grid.gridRowCount() - 1;
            grid.setCell(0, last, QString::number(sample));
            grid.setCell(1, last, QStringLiteral("v%1").arg(sample));
            grid.setGridRowCount(last + 2);
        }
        QCOMPARE(grid.gridRowCount(), 5);
        QCOMPARE(grid.cell(1, 3), QStringLiteral("v3"));
        QCOMPARE(grid.cell(0, 4), QString()); // the last row waits empty
        QCOMPARE(grid.rowCount(), 1);
        QVERIFY(inserted.wait(1000)); // announced from the event loop
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(inserted.at(0).at(2).toInt(), 3);
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(grid.data(grid.index(2, 0)).toString(), QStringLiteral("3"));

        grid.setGridRowCount(2);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(grid.rowCount(), 1);
        QCOMPARE(grid.cell(0, 1), QStringLiteral("1"));
        grid.setGridRowCount(4);
        QCOMPARE(grid.cell(0, 2), QString()); // cells dropped by shrinking do not come back
    }

    void clearKeepsSize()
    {
        TStringGridModel grid(8, 500);
        for (int row = 0; row < 500; ++row)
            grid.setCell(row % 8, row, QStringLiteral("r%1").arg(row));
        grid.clearCells();
        QCOMPARE(grid.gridColCount(), 8);
        QCOMPARE(grid.gridRowCount(), 500);
        for (int row = 0; row < 500; ++row)
            QCOMPARE(grid.cell(row % 8, row), QString());
    }

    void editingThroughSetData()
    {
        TStringGridModel grid(3, 4);
        grid.setCell(1, 2, QStringLiteral("old"));
        grid.setCell(1, 3, QStringLiteral("below"));
        const QModelIndex cell = grid.index(1, 1); // grid row 2
        QVERIFY(!(grid.flags(cell) & Qt::ItemIsEditable));
        QVERIFY(!grid.setData(cell, QStringLiteral("typed")));
        QCOMPARE(grid.cell(1, 2), QStringLiteral("old"));

        grid.setEditable(true);
        QVERIFY(grid.flags(cell) & Qt::ItemIsEditable);
        QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
        QVERIFY(grid.setData(cell, QStringLiteral("a longer typed text")));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), cell);
        QCOMPARE(grid.data(cell, Qt::EditRole).toString(), QStringLiteral("a longer typed text"));
        QCOMPARE(grid.cell(1, 3), QStringLiteral("below"));
    }
};

QUINTARO_TEST(TStringGridModelTest)
#include "TStringGridModelTest.moc"
