#include "DataFilesWindow.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QFile>
#include <QTest>

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
        DataFilesWindow w;
        TChartSlot &slot = w.slot(2);
        slot.cbRawData->setChecked(getRaw);
        slot.edExportFile = "earlier.csv";
        slot.edExportRawFile = "earlier.txt";
        const QString file = w.path("auto");
        w.dialogs->fileAnswers << file;
        slot.cbAutoSave->click();
        QVERIFY(slot.cbAutoSave->isChecked());
        QCOMPARE(w.dialogs->asked, QStringList{"save"});
        QCOMPARE(slot.edExportFile, getRaw ? QString("earlier.csv") : file);
        QCOMPARE(slot.edExportRawFile, getRaw ? file : QString("earlier.txt"));
        QCOMPARE(w.window->sbStatus->panelText(2), "F: " + file);

        // Unticking asks nothing and keeps both names.
        slot.cbAutoSave->click();
        QCOMPARE(w.dialogs->asked.size(), 1);
        QCOMPARE(getRaw ? slot.edExportRawFile : slot.edExportFile, file);
    }

    void cancellingUnticksTheBox()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        slot.cbAutoSave->click();
        QVERIFY(!slot.cbAutoSave->isChecked());
        QCOMPARE(w.dialogs->asked, QStringList{"save"});
        QCOMPARE(w.window->sbStatus->panelText(2), QString("Select File to Save Data..."));
        QVERIFY(slot.edExportFile.isEmpty() && slot.edExportRawFile.isEmpty());
    }

    void saveTimerRunsFromCreationEveryFiveMinutes()
    {
        DataFilesWindow w;
        QVERIFY(w.window->tmSave.isActive());
        QCOMPARE(w.window->tmSave.interval(), 300000);
    }

    void tickSavesTickedSlotsWithoutAsking()
    {
        DataFilesWindow w;
        TChartSlot &both = w.slot(2);
        TChartSlot &unticked = w.slot(1);
        TChartSlot &noNames = w.slot(3);
        for (TChartSlot *slot : {&both, &unticked, &noNames})
            DataFilesWindow::addPairs(*slot, 0, 2);
        both.cbAutoSave->setChecked(true);
        noNames.cbAutoSave->setChecked(true);
        both.edExportFile = w.path("p2.csv");
        both.edExportRawFile = w.path("r2.txt");
        unticked.edExportFile = w.path("p1.csv");
        TStringGrid &grid = *both.sgRawData;
        grid.setColCount(1);
        grid.setRowCount(3);
        grid.setCells(0, 0, "c");
        grid.setCells(0, 1, "1");

        w.window->tmSaveTimer();
        QCOMPARE(readBytes(both.edExportFile), "Date,Value\r\n" + pairLine(0) + pairLine(1));
        QCOMPARE(readBytes(both.edExportRawFile), QByteArray("c\r\n1\r\n"));
        QVERIFY(!QFile::exists(unticked.edExportFile));
        QVERIFY(w.dialogs->asked.isEmpty());
        // The raw save comes last, so its texts are the ones left.
        QCOMPARE(w.window->sbStatus->panelText(2), "Saved Raw Performance Data to " + both.edExportRawFile);

        // A later tick adds only what came since; a deleted target is written anew from the start.
        DataFilesWindow::addPairs(both, 2, 1);
        grid.setCells(0, 2, "2");
        grid.setRowCount(4);
        QVERIFY(QFile::remove(both.edExportRawFile));
        w.window->tmSaveTimer();
        QCOMPARE(readBytes(both.edExportFile), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2));
        QCOMPARE(readBytes(both.edExportRawFile), QByteArray("c\r\n1\r\n2\r\n"));
        QVERIFY(QFile::remove(both.edExportFile));
        w.window->tmSaveTimer();
        QCOMPARE(readBytes(both.edExportFile), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2));
    }
};

QUINTARO_TEST(AutoSaveTest)
#include "AutoSaveTest.moc"
