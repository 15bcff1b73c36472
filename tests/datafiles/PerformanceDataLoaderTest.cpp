#include "DataFilesFixture.h"
#include "PerformanceDataFile.h"
#include "PerformanceDataLoader.h"
#include "Regional.h"
#include "TestRegistry.h"

#include <QDateTime>
#include <QTest>

namespace {

void load(DataFilesFixture &w, SlotUnderTest &slot, const QString &file)
{
    w.dialogs.fileAnswers << file;
    LoadPerformanceData(slot, slot, w.context);
}

} // namespace

class PerformanceDataLoaderTest : public QObject {
    Q_OBJECT

private slots:
    void loadsPairsAndTitlesTheChart_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("title");
        const QString d1 = "01/02/2026 10:00:00", d2 = "01/02/2026 10:00:03";
        QTest::newRow("header and pairs")
            << QByteArray("Date,Locks\r\n01/02/2026 10:00:00,1\r\n01/02/2026 10:00:03,2\r\n") << ""
            << QStringList{d1, d2} << QStringList{"1", "2"}
            << "Statistics for Locks taken from " + d1 + " to " + d2;
        QTest::newRow("value-name edit wins, untrimmed")
            << QByteArray("Date,Locks\r\n01/02/2026 10:00:00,1\r\n") << " Mine " << QStringList{d1}
            << QStringList{"1"} << "Statistics for  Mine  taken from " + d1 + " to " + d1;
        QTest::newRow("no header") << QByteArray("01/02/2026 10:00:00,1\n01/02/2026 10:00:03,2") << ""
                                   << QStringList{d1, d2} << QStringList{"1", "2"} << " to " + d2;
        QTest::newRow("header only, any case") << QByteArray("dAtE,Locks\r\n") << "" << QStringList()
                                               << QStringList() << " to dAtE";
        QTest::newRow("several headers: the last names the value")
            << QByteArray("Date,A\r\n01/02/2026 10:00:00,1\r\nDATE,B\r\n01/02/2026 10:00:03,2\r\nnoise\r\n") << ""
            << QStringList{d1, d2} << QStringList{"1", "2"}
            << "Statistics for B taken from " + d2 + " to ";
        QTest::newRow("line after header is judged after titling")
            << QByteArray("Date,A\r\nbad,1\r\n01/02/2026 10:00:03,2\r\n") << "" << QStringList{d2}
            << QStringList{"2"} << "Statistics for A taken from bad to " + d2;
        QTest::newRow("commas stay in the value, cut to 100")
            << "01/02/2026 10:00:00,1,2,3\r\n01/02/2026 10:00:03," + QByteArray(120, 'v') + "\r\n" << ""
            << QStringList{d1, d2} << QStringList{"1,2,3", QString(100, 'v')} << " to " + d2;
        QTest::newRow("skipped: empty, no comma, no date, bad date")
            << QByteArray("\r\n01/02/2026 10:00:00\r\nx,1\r\n31/02/2026 10:00:00,1\r\n01/02/2026 10:00:00,7\r\n")
            << "" << QStringList{d1} << QStringList{"7"} << " to " + d1;
        // Only LF ends a line: a lone CR stays in the value, which the chart then refuses.
        QTest::newRow("lone CR inside a line")
            << QByteArray("01/02/2026 10:00:00,1\r01/02/2026 10:00:03,2\r\n") << "" << QStringList{d1}
            << QStringList{"1\r01/02/2026 10:00:03,2"} << " to " + d1;
        QTest::newRow("date without time, kept as written")
            << QByteArray("1/2/2026,5\r\n") << "" << QStringList{"1/2/2026"} << QStringList{"5"} << " to 1/2/2026";
    }
    void loadsPairsAndTitlesTheChart()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, valueName);
        QFETCH(QStringList, dates);
        QFETCH(QStringList, values);
        QFETCH(QString, title);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(2);
        DataFilesFixture::addPairs(slot, 0, 5); // replaced by the load
        slot.controls.valueName = valueName;
        slot.tmSample.start();
        const QString file = w.path("in.csv");
        writeBytes(file, content);
        load(w, slot, file);
        QCOMPARE(w.dialogs.asked, QStringList{"open"});
        QCOMPARE(slot.vDateList.toStringList(), dates);
        QCOMPARE(slot.vValueList.toStringList(), values);
        // Titled, then redrawn in full from the loaded lists.
        QCOMPARE(slot.chart, (QStringList{"title: " + title, QString("draw all: %1 pairs").arg(dates.size())}));
        QCOMPARE(w.sbStatus.panelText(2), "Loaded Performance Data from " + file);
        QVERIFY(!slot.running());
        QCOMPARE(slot.edExFrom, dates.isEmpty() ? QString() : QString::number(dates.size() - 1));
    }

    // Lines as the program writes them and lines written otherwise alike come back from the lists,
    // and into a saved file, exactly as the loaded file had them.
    void loadedLinesComeBackAsWritten()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(4);
        const QByteArray pairs = "01/02/2026 10:00:00,12\r\n"
                                 "1/2/2026 10:00:01,1.50\r\n"
                                 "01/02/2026 10:00,007\r\n"
                                 "01/02/2026,-0\r\n"
                                 " 01/02/2026 10:00:04 ,1,5, 7\r\n"
                                 "01/02/2026 10:00:05, x \r\n"
                                 "01/02/2026 10:00:06,\r\n"
                                 "01/02/2026 10:00:07,99999999999999999\r\n"
                                 "01/02/2026 10:00:08,-12.25\r\n"
                                 "01/02/2026 10:00:09,abcdefghij\r\n"
                                 + narrow(QStringLiteral("01/02/2026 10:00:10,Größe €\r\n"));
        const QString in = w.path("in.csv");
        writeBytes(in, "Date,Locks\r\n" + pairs);
        load(w, slot, in);
        QStringList dates;
        QStringList values;
        for (const QString &line : QString::fromLocal8Bit(pairs).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            dates << line.section(u',', 0, 0);
            values << line.section(u',', 1);
        }
        QCOMPARE(slot.vDateList.toStringList(), dates);
        QCOMPARE(slot.vValueList.toStringList(), values);

        slot.controls.valueName = QStringLiteral("Locks");
        slot.controls.autoSave = true; // no closing question
        SavePerformanceData(w.path("out.csv"), slot, slot, w.context);
        QCOMPARE(readBytes(w.path("out.csv")), "Date,Locks\r\n" + pairs);
    }

    void loadShowsItsProgressAtOnce()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        const QString file = w.path("in.csv");
        writeBytes(file, "Date,Value\r\n" + pairLine(0));
        load(w, slot, file);
        QCOMPARE(w.sbStatus.repainted.value(0), QString("Loading Performance Data..."));
        QVERIFY(slot.statusBar.repainted.isEmpty());
    }

    void cancelLeavesSlotUntouched()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        DataFilesFixture::addPairs(slot, 0, 2);
        slot.tmSample.start();
        load(w, slot, QString());
        QVERIFY(slot.tmSample.isActive());
        QCOMPARE(slot.vDateList.size(), 2);
        QVERIFY(slot.chart.isEmpty());
    }

    void abortFlagLeftFromEscapeEndsTheLoad()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        DataFilesFixture::addPairs(slot, 0, 2);
        slot.edExFrom = "1";
        w.state.bAbort = true;
        const QString file = w.path("in.csv");
        writeBytes(file, "Date,Value\r\n01/02/2026 10:00:00,1\r\n");
        load(w, slot, file);
        QCOMPARE(w.sbStatus.panelText(2), QString("Loading Performance Data Aborted..."));
        QVERIFY(slot.vDateList.isEmpty() && slot.vValueList.isEmpty());
        // The chart keeps its title and the points it had.
        QVERIFY(slot.chart.isEmpty());
        // Nothing of the file is in the lists, so the next save into it starts afresh.
        QVERIFY(slot.edExFrom.isEmpty());
    }

    void missingFileKeepsListsAndReports()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        DataFilesFixture::addPairs(slot, 0, 2);
        slot.edExFrom = "1";
        slot.tmSample.start();
        load(w, slot, w.path("missing.csv"));
        QVERIFY(slot.chart.isEmpty());
        QVERIFY(!slot.running());
        QCOMPARE(slot.vDateList.size(), 2);
        QCOMPARE(slot.edExFrom, QString("1"));
        const QString text = w.sbStatus.panelText(2);
        QVERIFY2(text.startsWith("Sampling Stopped Due to Exception...Cannot open file"), qPrintable(text));
    }

    void roundTripGivesBackTheLists()
    {
        DataFilesFixture w;
        SlotUnderTest &source = w.slot(1);
        source.controls.valueName = "Größe €";
        DataFilesFixture::addPairs(source, 0, 3);
        source.vDateList << u"01/02/2026 10:00:03";
        source.vValueList << u"a,b";
        DataFilesFixture::addPairs(source, 4, 46);
        const QString file = w.path("trip.csv");
        SavePerformanceData(file, source, source, w.context);

        SlotUnderTest &target = w.slot(2);
        load(w, target, file);
        QCOMPARE(target.vDateList.toStringList(), source.vDateList.toStringList());
        QCOMPARE(target.vValueList.toStringList(), source.vValueList.toStringList());
        QCOMPARE(target.chart, (QStringList{"title: Statistics for Größe € taken from "
                                                + source.vDateList.first() + " to "
                                                + source.vDateList.last(),
                                            "draw all: 50 pairs"}));
    }

    void fileFromOtherRegionalSettingsLoadsNothing()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        Regional::setCurrent(Regional(u'.', u'-', QStringLiteral("HH-mm-ss"), u','));
        slot.vDateList << Regional::current().formatTimeLine(QDateTime(QDate(2026, 2, 1), QTime(10, 0)));
        slot.vValueList << u"1,5";
        const QString file = w.path("other.csv");
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), QByteArray("Date,Value\r\n01.02.2026 10-00-00,1,5\r\n"));

        Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
        load(w, slot, file);
        QVERIFY(slot.vDateList.isEmpty());
        QCOMPARE(slot.chart, (QStringList{"title: Statistics for Value taken from 01.02.2026 10-00-00 to "
                                          "01.02.2026 10-00-00",
                                          "draw all: 0 pairs"}));
    }

    void saveIntoLoadedFileAppendsOnlyNewSamples()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        const QString file = w.path("loaded.csv");
        QByteArray content = "Date,Value\r\n" + pairLine(0) + pairLine(1) + "garbage\r\n" + pairLine(2);
        writeBytes(file, content);
        slot.edExFrom = "0";
        load(w, slot, file);
        QCOMPARE(slot.edExFrom, QString("2"));
        DataFilesFixture::addPairs(slot, 3, 2);
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), content + pairLine(3) + pairLine(4));
    }
};

QUINTARO_TEST(PerformanceDataLoaderTest)
#include "PerformanceDataLoaderTest.moc"
