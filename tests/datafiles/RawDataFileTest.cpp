#include "DataFilesFixture.h"
#include "RawDataFile.h"
#include "TestRegistry.h"

#include <QTest>
#include <QTimer>

class RawDataFileTest : public QObject {
    Q_OBJECT

private slots:
    void exportRawAsksOnlyWhenRowsWereCaptured()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(2);
        w.dialogs.yesNoAnswers << true << false;
        w.dialogs.fileAnswers << w.path("raw.txt");
        ExportRawData(slot, slot, w.context);
        QVERIFY(w.dialogs.asked.isEmpty());

        fillRawRows(slot.vRawData, {{"id", "name"}, {"1", "a"}});
        ExportRawData(slot, slot, w.context);
        const QString file = w.path("raw.txt");
        QCOMPARE(w.dialogs.asked, (QStringList{"question: Export Raw Data to csv file?", "save",
                                               "question: Raw Performance Saved Data to " + file + "\r\nOpen File?"}));
        QCOMPARE(slot.edExportRawFile, file);
        QCOMPARE(readBytes(file), QByteArray("id^name\r\n1^a\r\n"));
        QCOMPARE(slot.statusBar.panelText(1), QString("Data Saved..."));
        QCOMPARE(w.sbStatus.panelText(2), "Saved Raw Performance Data to " + file);
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
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        slot.controls.separator = separator;
        fillRawRows(slot.vRawData, {{"x", "y", "z"}, {"a^b", "c, d", ""}});
        const QString file = w.path("d.txt");
        writeBytes(file, "");
        slot.edExRawFrom = "0";
        SaveRawData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), line);
    }

    void blankRowsSkippedWithoutMovingMarker()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        slot.controls.autoSave = true;
        fillRawRows(slot.vRawData, {{"c1", "c2"}, {"1", "Größe"}, {" ", "\t"}, {"", ""}});
        const QString file = w.path("b.txt");
        SaveRawData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), narrow("c1^c2\r\n1^Größe\r\n"));
        QCOMPARE(slot.edExRawFrom, QString("1"));
        QVERIFY(w.dialogs.asked.isEmpty());

        // Rows captured later go after the marker; the blank ones are looked at again, in vain.
        TStringGridModel &grid = slot.vRawData;
        grid.setCell(0, 4, "2");
        grid.setGridRowCount(6);
        SaveRawData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), narrow("c1^c2\r\n1^Größe\r\n2^\r\n"));
        QCOMPARE(slot.edExRawFrom, QString("4"));
    }

    void existingFileWithEmptyMarkerGetsEverything()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        fillRawRows(slot.vRawData, {{"c"}, {"1"}});
        const QString file = w.path("e.txt");
        writeBytes(file, "before\r\n");
        SaveRawData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), QByteArray("before\r\nc\r\n1\r\n"));
    }

    void clearRawMakesNextSaveTakeEveryNewRow()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(2);
        const QString file = w.path("cleared.txt");
        fillRawRows(slot.vRawData, {{"c"}, {"1"}, {"2"}});
        SaveRawData(file, slot, slot, w.context);
        // What Clear Raw leaves: the title row and one empty row, and no marker.
        slot.vRawData.clearCells();
        slot.vRawData.setGridRowCount(2);
        slot.edExRawFrom.clear();
        fillRawRows(slot.vRawData, {{"c"}, {"3"}});
        SaveRawData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), QByteArray("c\r\n1\r\n2\r\nc\r\n3\r\n"));
    }

    void nothingCapturedMakesAnEmptyFile()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        SaveRawData(w.path("empty.txt"), slot, slot, w.context);
        QCOMPARE(readBytes(w.path("empty.txt")), QByteArray());
        QVERIFY(slot.edExRawFrom.isEmpty());
    }

    void escapeEndsRawSaveLikeACompleteOne()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        constexpr int rows = 200000;
        TStringGridModel &grid = slot.vRawData;
        grid.setGridColCount(2);
        grid.setGridRowCount(rows + 2);
        for (int row = 0; row <= rows; ++row) {
            grid.setCell(0, row, QString::number(row));
            grid.setCell(1, row, "v");
        }
        const QString file = w.path("esc.txt");
        QTimer::singleShot(0, [&] { w.state.bAbort = true; });
        SaveRawData(file, slot, slot, w.context);
        const qsizetype written = readBytes(file).count('\n');
        QVERIFY2(written > 0 && written <= rows, qPrintable(QString::number(written)));
        QCOMPARE(slot.edExRawFrom, QString::number(written - 1));
        QCOMPARE(slot.statusBar.panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs.asked.size(), 1);
    }

    void failedRawSaveStopsSampling()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(3);
        fillRawRows(slot.vRawData, {{"c"}, {"1"}});
        slot.tmSample.start();
        w.sbStatus.setPanelText(2, "before");
        SaveRawData(w.path("no/such/folder.txt"), slot, slot, w.context);
        QVERIFY(!slot.running());
        QVERIFY(slot.statusBar.panelText(1).startsWith("Sampling Stopped...Cannot create file"));
        QCOMPARE(w.sbStatus.panelText(2), QString("before"));
        QVERIFY(slot.edExRawFrom.isEmpty());
    }
};

QUINTARO_TEST(RawDataFileTest)
#include "RawDataFileTest.moc"
