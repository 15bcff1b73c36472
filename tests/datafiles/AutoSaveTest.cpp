#include "AutoSave.h"
#include "DataFilesFixture.h"
#include "TestRegistry.h"

#include <QFile>
#include <QTest>

namespace {

// The five-minute timer's round over the slots the test made.
void saveTimerTick(DataFilesFixture &w, std::initializer_list<int> numbers)
{
    for (int n : numbers)
        AutoSaveSlot(w.slot(n), w.slot(n), w.context);
}

} // namespace

class AutoSaveTest : public QObject {
    Q_OBJECT

private slots:
    void tickingTheBoxChoosesOneTarget_data()
    {
        QTest::addColumn<bool>("getRaw");
        QTest::newRow("performance data") << false;
        QTest::newRow("raw data with Get Raw") << true;
    }
    void tickingTheBoxChoosesOneTarget()
    {
        QFETCH(bool, getRaw);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(2);
        slot.controls.getRaw = getRaw;
        slot.edExportFile = "earlier.csv";
        slot.edExportRawFile = "earlier.txt";
        const QString file = w.path("auto");
        w.dialogs.fileAnswers << file;
        slot.controls.autoSave = true; // the click has ticked the box
        ChooseAutoSaveFile(slot, slot, w.context);
        QVERIFY(slot.controls.autoSave);
        QCOMPARE(w.dialogs.asked, QStringList{"save"});
        QCOMPARE(slot.edExportFile, getRaw ? QString("earlier.csv") : file);
        QCOMPARE(slot.edExportRawFile, getRaw ? file : QString("earlier.txt"));
        QCOMPARE(w.sbStatus.panelText(2), "F: " + file);

        // Unticking asks nothing and keeps both names.
        slot.controls.autoSave = false;
        ChooseAutoSaveFile(slot, slot, w.context);
        QCOMPARE(w.dialogs.asked.size(), 1);
        QCOMPARE(getRaw ? slot.edExportRawFile : slot.edExportFile, file);
    }

    void cancellingUnticksTheBox()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        slot.controls.autoSave = true;
        ChooseAutoSaveFile(slot, slot, w.context);
        QVERIFY(!slot.controls.autoSave);
        QCOMPARE(w.dialogs.asked, QStringList{"save"});
        QCOMPARE(w.sbStatus.panelText(2), QString("Select File to Save Data..."));
        QVERIFY(slot.edExportFile.isEmpty() && slot.edExportRawFile.isEmpty());
    }

    void tickSavesTickedSlotsWithoutAsking()
    {
        DataFilesFixture w;
        SlotUnderTest &both = w.slot(2);
        SlotUnderTest &unticked = w.slot(1);
        SlotUnderTest &noNames = w.slot(3);
        for (SlotUnderTest *slot : {&both, &unticked, &noNames})
            DataFilesFixture::addPairs(*slot, 0, 2);
        both.controls.autoSave = true;
        noNames.controls.autoSave = true;
        both.edExportFile = w.path("p2.csv");
        both.edExportRawFile = w.path("r2.txt");
        unticked.edExportFile = w.path("p1.csv");
        TStringGridModel &grid = both.vRawData;
        grid.setGridColCount(1);
        grid.setGridRowCount(3);
        grid.setCell(0, 0, "c");
        grid.setCell(0, 1, "1");

        saveTimerTick(w, {1, 2, 3});
        QCOMPARE(readBytes(both.edExportFile), "Date,Value\r\n" + pairLine(0) + pairLine(1));
        QCOMPARE(readBytes(both.edExportRawFile), QByteArray("c\r\n1\r\n"));
        QVERIFY(!QFile::exists(unticked.edExportFile));
        QVERIFY(w.dialogs.asked.isEmpty());
        // The raw save comes last, so its texts are the ones left.
        QCOMPARE(w.sbStatus.panelText(2), "Saved Raw Performance Data to " + both.edExportRawFile);

        // A later tick adds only what came since; a deleted target is written anew from the start.
        DataFilesFixture::addPairs(both, 2, 1);
        grid.setCell(0, 2, "2");
        grid.setGridRowCount(4);
        QVERIFY(QFile::remove(both.edExportRawFile));
        saveTimerTick(w, {1, 2, 3});
        QCOMPARE(readBytes(both.edExportFile), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2));
        QCOMPARE(readBytes(both.edExportRawFile), QByteArray("c\r\n1\r\n2\r\n"));
        QVERIFY(QFile::remove(both.edExportFile));
        saveTimerTick(w, {1, 2, 3});
        QCOMPARE(readBytes(both.edExportFile), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2));
    }
};

QUINTARO_TEST(AutoSaveTest)
#include "AutoSaveTest.moc"
