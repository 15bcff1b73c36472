#include "DataFilesWindow.h"
#include "RawDataFile.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Fills the raw grid as a capture does: column names in row 0, rows below, the last row empty.
void fillGrid(TStringGrid &grid, const QList<QStringList> &rows)
{
    grid.setColCount(int(rows.first().size()));
    grid.setRowCount(int(rows.size()) + 1);
    for (int row = 0; row < rows.size(); ++row)
        for (int col = 0; col < rows[row].size(); ++col)
            grid.setCells(col, row, rows[row][col]);
}

} // namespace

class RawDataFileTest : public QObject {
    Q_OBJECT

private slots:
    void exportRawAsksOnlyWhenRowsWereCaptured()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(2);
        w.dialogs->yesNoAnswers << true << false;
        w.dialogs->fileAnswers << w.path("raw.txt");
        slot.bbtExportRawData->click();
        QVERIFY(w.dialogs->asked.isEmpty());

        fillGrid(*slot.sgRawData, {{"id", "name"}, {"1", "a"}});
        slot.bbtExportRawData->click();
        const QString file = w.path("raw.txt");
        QCOMPARE(w.dialogs->asked, (QStringList{"question: Export Raw Data to csv file?", "save",
                                                "question: Raw Performance Saved Data to " + file + "\r\nOpen File?"}));
        QCOMPARE(slot.edExportRawFile, file);
        QCOMPARE(readBytes(file), QByteArray("id^name\r\n1^a\r\n"));
        QCOMPARE(slot.sbStatus->panelText(1), QString("Data Saved..."));
        QCOMPARE(w.window->sbStatus->panelText(2), "Saved Raw Performance Data to " + file);
    }

    void delimiterJoinsCellsUnchanged_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("semicolon with blanks") << " ; " << QByteArray("a^b;c, d;\r\n");
        QTest::newRow("empty means caret") << "" << QByteArray("a^b^c, d^\r\n");
        QTest::newRow("blanks mean caret") << " \t" << QByteArray("a^b^c, d^\r\n");
        QTest::newRow("several characters whole") << "<|>" << QByteArray("a^b<|>c, d<|>\r\n");
    }
    void delimiterJoinsCellsUnchanged()
    {
        QFETCH(QString, separator);
        QFETCH(QByteArray, line);
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        slot.edSeparator->setText(separator);
        fillGrid(*slot.sgRawData, {{"x", "y", "z"}, {"a^b", "c, d", ""}});
        const QString file = w.path("d.txt");
        writeBytes(file, "");
        slot.edExRawFrom = "0";
        SaveRawData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), line);
    }

    void blankRowsSkippedWithoutMovingMarker()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        slot.cbAutoSave->setChecked(true);
        fillGrid(*slot.sgRawData, {{"c1", "c2"}, {"1", "Größe"}, {" ", "\t"}, {"", ""}});
        const QString file = w.path("b.txt");
        SaveRawData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), narrow("c1^c2\r\n1^Größe\r\n"));
        QCOMPARE(slot.edExRawFrom, QString("1"));
        QVERIFY(w.dialogs->asked.isEmpty());

        // Rows captured later go after the marker; the blank ones are looked at again, in vain.
        TStringGrid &grid = *slot.sgRawData;
        grid.setCells(0, 4, "2");
        grid.setRowCount(6);
        SaveRawData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), narrow("c1^c2\r\n1^Größe\r\n2^\r\n"));
        QCOMPARE(slot.edExRawFrom, QString("4"));
    }

    void existingFileWithEmptyMarkerGetsEverything()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        fillGrid(*slot.sgRawData, {{"c"}, {"1"}});
        const QString file = w.path("e.txt");
        writeBytes(file, "before\r\n");
        SaveRawData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), QByteArray("before\r\nc\r\n1\r\n"));
    }

    void clearRawMakesNextSaveTakeEveryNewRow()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(2);
        const QString file = w.path("cleared.txt");
        fillGrid(*slot.sgRawData, {{"c"}, {"1"}, {"2"}});
        SaveRawData(file, slot, w.window->context());
        slot.bbtClearRawData->click();
        QVERIFY(slot.edExRawFrom.isEmpty());
        fillGrid(*slot.sgRawData, {{"c"}, {"3"}});
        SaveRawData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), QByteArray("c\r\n1\r\n2\r\nc\r\n3\r\n"));
    }

    void nothingCapturedMakesAnEmptyFile()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        SaveRawData(w.path("empty.txt"), slot, w.window->context());
        QCOMPARE(readBytes(w.path("empty.txt")), QByteArray());
        QVERIFY(slot.edExRawFrom.isEmpty());
    }

    void escapeEndsRawSaveLikeACompleteOne()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        constexpr int rows = 200000;
        TStringGrid &grid = *slot.sgRawData;
        grid.setColCount(2);
        grid.setRowCount(rows + 2);
        for (int row = 0; row <= rows; ++row) {
            grid.setCells(0, row, QString::number(row));
            grid.setCells(1, row, "v");
        }
        const QString file = w.path("esc.txt");
        QTimer::singleShot(0, w.window.get(), [&] { w.window->state.bAbort = true; });
        SaveRawData(file, slot, w.window->context());
        const qsizetype written = readBytes(file).count('\n');
        QVERIFY2(written > 0 && written <= rows, qPrintable(QString::number(written)));
        QCOMPARE(slot.edExRawFrom, QString::number(written - 1));
        QCOMPARE(slot.sbStatus->panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs->asked.size(), 1);
    }

    void failedRawSaveStopsSampling()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(3);
        fillGrid(*slot.sgRawData, {{"c"}, {"1"}});
        slot.tmSample.start();
        w.window->sbStatus->setPanelText(2, "before");
        SaveRawData(w.path("no/such/folder.txt"), slot, w.window->context());
        QVERIFY(!slot.tmSample.isActive());
        QVERIFY(slot.sbStatus->panelText(1).startsWith("Sampling Stopped...Cannot create file"));
        QCOMPARE(w.window->sbStatus->panelText(2), QString("before"));
        QVERIFY(slot.edExRawFrom.isEmpty());
    }
};

QUINTARO_TEST(RawDataFileTest)
#include "RawDataFileTest.moc"
