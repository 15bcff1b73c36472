#include "Regional.h"
#include "RunControl.h"
#include "SampleTimer.h"
#include "SamplingFixture.h"
#include "ShownMessage.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

const QString counter = QStringLiteral("select Transactions from master..monState");

double number(QStringView text)
{
    return Regional::current().parseNumber(text).value();
}

using std::chrono::milliseconds;
using std::chrono::microseconds;

// A statement the server answers after the delay, with the value given.
QString delayed(int delayMs, const QString &value)
{
    return QStringLiteral("waitfor delay '00:00:00.%1' select V=%2").arg(delayMs, 3, 10, QLatin1Char('0')).arg(value);
}

// At least the server's delay, and not more than a generous allowance for the way there and back.
bool tookAbout(std::optional<microseconds> roundTrip, int delayMs)
{
    return roundTrip && *roundTrip >= milliseconds(delayMs) && *roundTrip < milliseconds(delayMs + 1000);
}

} // namespace

class SampleTickTest : public SamplingTestCase {
    Q_OBJECT

private slots:

    void counterSampledAndDrawn()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(1);
        slot.controls.interval = "3"; // as the window's box starts
        const qsizetype sentBefore = sentCount(server_->server, counter);
        QVERIFY(w.run(slot, counter));
        for (int tick = 0; tick < 3; ++tick) {
            QVERIFY(w.tick(slot));
            QVERIFY(slot.tmSample.isActive());
        }
        QCOMPARE(sentCount(server_->server, counter) - sentBefore, 3);
        QCOMPARE(slot.tmSample.interval(), 3000);
        QCOMPARE(slot.vValueList.size(), 3);
        QCOMPARE(slot.vDateList.size(), 3);
        QVERIFY(Regional::current().parseTimeLine(slot.vDateList.last()));
        QVERIFY(number(slot.vValueList[0]) > 10000);
        // The first sample is drawn alone, the later ones are appended.
        QCOMPARE(slot.chart, (QStringList{"draw all: 1 pairs", "draw newest: 2 pairs", "draw newest: 3 pairs"}));
        QCOMPARE(slot.controls.valueName, QString("Transactions"));
        QCOMPARE(slot.statusBar.panelText(2), "L.V: " + slot.vValueList.last());
        QCOMPARE(slot.statusBar.panelText(1), "V.T: " + slot.vDateList.last().mid(11));

        // Stop and Run: the same lists go on.
        RunControl::stop(slot, slot);
        QVERIFY(w.run(slot, QString()));
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vValueList.size(), 4);
        QCOMPARE(slot.chart.last(), QString("draw newest: 4 pairs"));

        // Emptied as Clear leaves them, the lists' next sample is drawn alone again.
        slot.vDateList.clear();
        slot.vValueList.clear();
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vValueList.size(), 1);
        QCOMPARE(slot.chart.last(), QString("draw all: 1 pairs"));
    }

    void roundTripKeptBesideEachSample()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(2);
        const QList<int> delays{300, 100, 200};
        QVERIFY(w.run(slot, delayed(delays[0], "1")));
        for (int i = 0; i < delays.size(); ++i) {
            RunControl::updateSQL(slot, delayed(delays[i], QString::number(i + 1)));
            QVERIFY(w.tick(slot));
        }
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"1", "2", "3"}));
        for (int i = 0; i < delays.size(); ++i)
            QVERIFY2(tookAbout(slot.roundTrips.at(i, slot.listsGeneration), delays[i]), qPrintable(QString::number(i)));
        QVERIFY(*slot.roundTrips.at(0, slot.listsGeneration) > *slot.roundTrips.at(1, slot.listsGeneration));
        QVERIFY(!slot.roundTrips.at(3, slot.listsGeneration));

        // Since Run: the last, the middle one in order and the longest, to half a percent.
        auto figures = slot.roundTripSummary.figures();
        QVERIFY(figures);
        QCOMPARE(figures->count, 3);
        QCOMPARE(figures->last, *slot.roundTrips.at(2, slot.listsGeneration));
        QCOMPARE(figures->maximum, *slot.roundTrips.at(0, slot.listsGeneration));
        const double median = double(slot.roundTrips.at(2, slot.listsGeneration)->count());
        QVERIFY(std::abs(double(figures->median.count()) - median) <= median * 0.005);

        // A sample that records no value still cost the server its round trip.
        RunControl::updateSQL(slot, "waitfor delay '00:00:00.400' select V=null");
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vValueList.size(), 3);
        figures = slot.roundTripSummary.figures();
        QCOMPARE(figures->count, 4);
        QVERIFY(tookAbout(figures->last, 400));
        QCOMPARE(figures->maximum, figures->last);

        // Run starts the summary over; the samples keep theirs.
        RunControl::stop(slot, slot);
        QVERIFY(w.run(slot, QString()));
        QVERIFY(!slot.roundTripSummary.figures());
        QVERIFY(tookAbout(slot.roundTrips.at(0, slot.listsGeneration), delays[0]));

        // New lists (Clear, Load) have no round trips until their own samples bring them.
        slot.vDateList.clear();
        slot.vValueList.clear();
        ++slot.listsGeneration;
        QVERIFY(!slot.roundTrips.at(0, slot.listsGeneration));
        RunControl::updateSQL(slot, delayed(50, "7"));
        QVERIFY(w.tick(slot));
        QVERIFY(tookAbout(slot.roundTrips.at(0, slot.listsGeneration), 50));
        QCOMPARE(slot.roundTripSummary.figures()->count, 1);
    }

    void resultShapes_data()
    {
        QTest::addColumn<int>("slotNumber");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("typedName");
        QTest::addColumn<QStringList>("recorded");
        QTest::addColumn<QString>("name");

        QTest::newRow("three rows: the first column of the last")
            << 3 << "select 1 V, 9 W union all select 2, 9 union all select 3, 9" << "" << QStringList{"3"} << "V";
        QTest::newRow("no rows") << 3 << "select V=1 where 1=0" << "" << QStringList{} << "";
        QTest::newRow("null") << 3 << "select V=null" << "" << QStringList{} << "V";
        QTest::newRow("unnamed first column in slot 4") << 4 << "select 1+1" << "" << QStringList{"2"}
                                                        << "CustomField-4";
        QTest::newRow("typed name kept") << 3 << "select V=5" << "My counter" << QStringList{"5"} << "My counter";
        QTest::newRow("automatic name replaced") << 3 << "select V=5" << "CustomField-6" << QStringList{"5"} << "V";
        QTest::newRow("text value trimmed") << 3 << "select V=' 7 '" << "" << QStringList{"7"} << "V";
    }

    void resultShapes()
    {
        QFETCH(int, slotNumber);
        QFETCH(QString, statement);
        QFETCH(QString, typedName);
        QFETCH(QStringList, recorded);
        QFETCH(QString, name);
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(slotNumber);
        slot.controls.valueName = typedName;
        QVERIFY(w.run(slot, statement));
        QVERIFY(w.tick(slot));
        QVERIFY2(slot.tmSample.isActive(), qPrintable(slot.statusBar.panelText(1)));
        QCOMPARE(slot.vValueList.toStringList(), recorded);
        QCOMPARE(slot.vDateList.size(), recorded.size());
        QCOMPARE(slot.controls.valueName, name);
        // Nothing recorded, nothing drawn.
        QCOMPARE(slot.chart.size(), recorded.size());
        QCOMPARE(slot.statusBar.panelText(2), recorded.isEmpty() ? QString() : "L.V: " + recorded.last());
        QVERIFY(slot.statusBar.panelText(1).startsWith("V.T: "));
        QVERIFY(slot.vTmpList.isEmpty());
    }

    void intervalTakenFromTheBox_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<int>("interval");
        QTest::newRow("whole seconds") << "5" << 5000;
        QTest::newRow("not a number keeps the interval") << "abc" << 1000;
        QTest::newRow("fraction keeps the interval") << "0.5" << 1000;
        QTest::newRow("zero keeps the interval") << "0" << 1000;
        QTest::newRow("negative keeps the interval") << "-2" << 1000;
    }

    void intervalTakenFromTheBox()
    {
        QFETCH(QString, seconds);
        QFETCH(int, interval);
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(5);
        slot.controls.interval = seconds;
        QVERIFY(w.run(slot, "select V=1"));
        QVERIFY(w.tick(slot));
        QVERIFY(slot.tmSample.isActive());
        QCOMPARE(slot.tmSample.interval(), interval);
    }

    // The flag Escape sets.
    void abortFlagStopsValuesInAllSlotsUntilRun()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &first = w.slot(1);
        SlotUnderTest &second = w.slot(2);
        QVERIFY(w.run(first, "select V=1"));
        QVERIFY(w.run(second, "select W=2"));
        QVERIFY(w.tick(first));
        QVERIFY(w.tick(second));
        w.state.bAbort = true;
        for (SlotUnderTest *slot : {&first, &second}) {
            slot->statusBar.setPanelText(1, QString());
            QVERIFY(w.tick(*slot));
            QCOMPARE(slot->vValueList.size(), 1);
            QVERIFY(slot->statusBar.panelText(1).startsWith("V.T: "));
            QVERIFY(slot->tmSample.isActive());
        }
        QVERIFY(w.run(first, QString())); // any Run clears the flag for every slot
        QVERIFY(w.tick(second));
        QCOMPARE(second.vValueList.toStringList(), (QStringList{"2", "2"}));
    }

    void updateSqlOnARunningSlot()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(6);
        QVERIFY(w.run(slot, "select V=1"));
        QVERIFY(w.tick(slot));
        RunControl::updateSQL(slot, "select W=2");
        QVERIFY(w.tick(slot));
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"1", "2"}));
        QCOMPARE(slot.controls.valueName, QString("V"));
        QCOMPARE(server_->server.loggedBatches().last(), QString("/**/\nselect W=2"));

        // Emptied by Update SQL, the statement fails at the next tick.
        RunControl::updateSQL(slot, QString());
        QVERIFY(w.tick(slot));
        QVERIFY(!slot.running());
        QVERIFY(slot.statusBar.panelText(1).startsWith("Sampling Stopped...\r\n"));
    }

    void sixSlotsStayApart()
    {
        SamplingSlots w(*server_);
        for (int n = 1; n <= 6; ++n) {
            w.slot(n).controls.interval = QString::number(n);
            QVERIFY(w.run(w.slot(n), QString("select V%1=%1").arg(n)));
        }
        // Each round's six samples are out together.
        for (int round = 0; round < 2; ++round) {
            for (int n : {6, 2, 4, 1, 5, 3})
                SampleTimer::tick(w.slot(n), w.slot(n), w.state);
            for (int n = 1; n <= 6; ++n)
                QVERIFY(SamplingSlots::settled(w.slot(n)));
        }
        for (int n = 1; n <= 6; ++n) {
            SlotUnderTest &slot = w.slot(n);
            const QString value = QString::number(n);
            QCOMPARE(slot.vValueList.toStringList(), (QStringList{value, value}));
            QCOMPARE(slot.controls.valueName, "V" + value);
            QCOMPARE(slot.statusBar.panelText(2), "L.V: " + value);
            QCOMPARE(slot.tmSample.interval(), n * 1000);
            QCOMPARE(slot.chart, (QStringList{"draw all: 1 pairs", "draw newest: 2 pairs"}));
        }
    }

    // A failing statement stops its slot with the server's words, cut to a readable length;
    // an error after the first result counts as much as one before it.
    void failureStopsOnlyItsSlot_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("reported");
        QTest::newRow("unknown table") << "select * from master..monNoSuchTable" << "monNoSuchTable";
        QTest::newRow("error after the first result")
            << "select V=3\nselect * from master..monNoSuchTable" << "monNoSuchTable";
        QTest::newRow("huge value in the message")
            << "select V='" + QString(1 << 20, u'x') << QString();
    }
    void failureStopsOnlyItsSlot()
    {
        QFETCH(QString, statement);
        QFETCH(QString, reported);
        SamplingSlots w(*server_);
        SlotUnderTest &good = w.slot(1);
        SlotUnderTest &bad = w.slot(2);
        QVERIFY(w.run(good, "select V=1"));
        QVERIFY(w.run(bad, "select V=2"));
        QVERIFY(w.tick(bad));
        RunControl::updateSQL(bad, statement);
        QVERIFY(w.tick(bad));
        QVERIFY(w.tick(good));
        QVERIFY(!bad.running());
        QVERIFY(!bad.tmSample.isActive());
        const QString panel = bad.statusBar.panelText(1);
        QVERIFY2(panel.startsWith("Sampling Stopped...\r\n"), qPrintable(panel.left(300)));
        QVERIFY2(panel.contains(reported), qPrintable(panel.left(300)));
        QVERIFY2(panel.size() <= ShownMessage::messageLimit + 30, qPrintable(QString::number(panel.size())));
        QCOMPARE(bad.runs, QStringList{"started"}); // halted: the style stays locked until Stop
        QCOMPARE(bad.vValueList.toStringList(), QStringList{"2"});
        QCOMPARE(bad.chart.size(), 1);
        QVERIFY(good.tmSample.isActive());
        QCOMPARE(good.vValueList.toStringList(), QStringList{"1"});
    }

    // The chart that cannot read the value has said why in panel 1 and stopped the timer; the
    // sample does not start it again.
    void drawingFailureStopsTheSlotKeepingItsLines()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(3);
        QVERIFY(w.run(slot, "select V=1"));
        QVERIFY(w.tick(slot));
        const QString sampleTime = slot.statusBar.panelText(1);
        RunControl::updateSQL(slot, "select V='abc'");
        slot.drawSucceeds = false;
        QVERIFY(w.tick(slot));
        QVERIFY(!slot.running());
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"1", "abc"}));
        QCOMPARE(slot.statusBar.panelText(2), QString("L.V: abc"));
        QCOMPARE(slot.statusBar.panelText(1), sampleTime);
    }

    void serverKilledMidRun()
    {
        SampledServer doomed(*sandbox_);
        QVERIFY(doomed.server.isRunning());
        SamplingSlots w(doomed);
        SlotUnderTest &slot = w.slot(4);
        QVERIFY(w.run(slot, counter));
        QVERIFY(w.tick(slot));
        QVERIFY(slot.tmSample.isActive());
        doomed.server.kill();
        QVERIFY(w.tick(slot));
        QVERIFY(!slot.running());
        QVERIFY2(slot.statusBar.panelText(1).startsWith("Sampling Stopped...\r\n"), qPrintable(slot.statusBar.panelText(1)));
        QCOMPARE(slot.vValueList.size(), 1);
        QCOMPARE(slot.chart.size(), 1);
    }

    // The slot's own timer, not the test, drives the ticks: each comes one whole interval or more
    // after the one before.
    void ticksNeverComeEarly()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(3);
        slot.controls.interval = "1";
        QElapsedTimer clock;
        QList<qint64> ticks;
        QObject::connect(&slot.tmSample, &QTimer::timeout, &slot.tmSample, [&] {
            ticks << clock.elapsed();
            SampleTimer::tick(slot, slot, w.state);
        });
        clock.start();
        QVERIFY(w.run(slot, counter));
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() == 4, 8000);
        for (qsizetype i = 1; i < ticks.size(); ++i)
            QVERIFY2(ticks[i] - ticks[i - 1] >= 1000, qPrintable(QString::number(ticks[i] - ticks[i - 1])));
        RunControl::stop(slot, slot);
    }

    // A statement slower than the interval: a note once the interval has passed, no second
    // statement for a tick meanwhile, and the sample recorded when it comes.
    void tickWhileTheSampleIsOutSendsNothing()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(2);
        slot.controls.interval = "1";
        const QString slow = "waitfor delay '00:00:02' select V=7";
        const qsizetype sentBefore = sentCount(server_->server, slow);
        QVERIFY(w.run(slot, slow));
        SampleTimer::tick(slot, slot, w.state);
        QTRY_COMPARE_WITH_TIMEOUT(slot.statusBar.panelText(1), QString("Waiting for the server..."), 1800);
        QVERIFY(slot.waiting());
        QVERIFY(w.tick(slot));
        QCOMPARE(sentCount(server_->server, slow) - sentBefore, 1);
        QCOMPARE(slot.vValueList.toStringList(), QStringList{"7"});
        QCOMPARE(slot.chart, QStringList{"draw all: 1 pairs"});
        QVERIFY(slot.statusBar.panelText(1).startsWith("V.T: "));
        QVERIFY(slot.tmSample.isActive());
    }
};

QUINTARO_TEST(SampleTickTest)
#include "SampleTickTest.moc"
