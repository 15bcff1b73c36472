#include "RunControl.h"
#include "SampleTimer.h"
#include "SamplingFixture.h"
#include "TestRegistry.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString spidProbe = QStringLiteral("select @@spid SPID");

// The process id that panel 0 shows after a Run: "S: <spid>@<server>".
int spidShown(SlotUnderTest &slot)
{
    const QString panel = slot.statusBar.panelText(0);
    return panel.mid(3, panel.indexOf(u'@') - 3).toInt();
}

} // namespace

class RunControlTest : public SamplingTestCase {
    Q_OBJECT

private slots:

    void runWithoutAnyStatementDoesNothingVisible()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(1);
        w.sbStatus.setPanelText(2, "old message");
        w.state.bAbort = true;
        QVERIFY(w.run(slot, " \t\r\n"));
        QCOMPARE(w.sbStatus.panelText(2), QString());
        QVERIFY(!w.state.bAbort);
        QVERIFY(!slot.running());
        QVERIFY(slot.runs.isEmpty());
        for (int panel = 0; panel < 3; ++panel)
            QCOMPARE(slot.statusBar.panelText(panel), QString());
        QVERIFY(!slot.dbLocal.connected());
        QVERIFY(!slot.dbLocal.busy()); // nothing was sent
    }

    void runOpensTheSlotsOwnConnectionAndStopKeepsIt()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(2);
        w.pressRun(slot, "select V=1");
        QCOMPARE(slot.vSQL, QString("select V=1"));
        // Running from the press on, the timer only once the server has answered.
        QVERIFY(slot.running());
        QVERIFY(!slot.tmSample.isActive());
        QVERIFY(slot.runs.isEmpty());
        QVERIFY(SamplingSlots::settled(slot));
        QVERIFY(slot.tmSample.isActive());
        QCOMPARE(slot.tmSample.interval(), 1000);
        QCOMPARE(slot.runs, QStringList{"started"});
        QCOMPARE(slot.statusBar.panelText(1), "Connected to " + server_->dsn);
        QVERIFY2(QRegularExpression("^S: \\d+@" + server_->dsn + "$").match(slot.statusBar.panelText(0)).hasMatch(),
                 qPrintable(slot.statusBar.panelText(0)));

        // A later statement in the query box does not reach the slot until Update SQL.
        RunControl::stop(slot, slot);
        QVERIFY(!slot.running());
        QCOMPARE(slot.runs, (QStringList{"started", "stopped"}));
        QVERIFY(slot.dbLocal.connected());
        QVERIFY(w.run(slot, "select W=2"));
        QCOMPARE(slot.vSQL, QString("select V=1"));
        QVERIFY(slot.running());
        RunControl::updateSQL(slot, "select W=2");
        QCOMPARE(slot.vSQL, QString("select W=2"));
        QCOMPARE(RunControl::showSQL(slot), QString("select W=2"));
        QCOMPARE(RunControl::showSQL(w.slot(3)), QString()); // a slot that never ran
    }

    void sameConnectionDecidesWhetherRunReconnects_data()
    {
        QTest::addColumn<bool>("sameConnection");
        QTest::addColumn<int>("probesAfterThreeRuns");
        QTest::newRow("ticked: one connection") << true << 1;
        QTest::newRow("unticked: a new connection each Run") << false << 3;
    }

    void sameConnectionDecidesWhetherRunReconnects()
    {
        QFETCH(bool, sameConnection);
        QFETCH(int, probesAfterThreeRuns);
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(4);
        slot.controls.sameConn = sameConnection;
        const qsizetype probesBefore = sentCount(server_->server, spidProbe);
        QStringList panels;
        for (int run = 0; run < 3; ++run) {
            QVERIFY(w.run(slot, "select V=1"));
            QVERIFY(slot.tmSample.isActive());
            panels << slot.statusBar.panelText(0);
        }
        QCOMPARE(sentCount(server_->server, spidProbe) - probesBefore, probesAfterThreeRuns);
        QCOMPARE(panels.removeDuplicates(), sameConnection ? 2 : 0);
        QCOMPARE(slot.runs, QStringList(3, "started"));
    }

    // The second press finds the login out and leaves it to carry the slot on.
    void runPressedTwiceWhileItsLoginIsOutLogsInOnce()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &before = w.slot(1);
        SlotUnderTest &slot = w.slot(2);
        SlotUnderTest &after = w.slot(3);
        // Unticked, a press would log in afresh were it not for the login already out.
        slot.controls.sameConn = false;
        QVERIFY(w.run(before, "select V=1"));
        const qsizetype probesBefore = sentCount(server_->server, spidProbe);
        w.pressRun(slot, "select V=2");
        w.pressRun(slot, "select V=3");
        QVERIFY(SamplingSlots::settled(slot));
        QVERIFY(w.run(after, "select V=1"));

        QCOMPARE(sentCount(server_->server, spidProbe) - probesBefore, 2);
        // The server numbers its sessions as it accepts them: nothing logged in between.
        QCOMPARE(spidShown(slot), spidShown(before) + 1);
        QCOMPARE(spidShown(after), spidShown(slot) + 1);
        QVERIFY(slot.tmSample.isActive());
        QCOMPARE(slot.runs, QStringList{"started"});
        QCOMPARE(slot.vSQL, QString("select V=2"));
    }

    void stopDropsTheAnswerStillOut_data()
    {
        QTest::addColumn<bool>("runningFirst");
        QTest::newRow("Run's login") << false;
        QTest::newRow("a sample") << true;
    }

    void stopDropsTheAnswerStillOut()
    {
        QFETCH(bool, runningFirst);
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(5);
        if (runningFirst) {
            QVERIFY(w.run(slot, "select V=1"));
            slot.statusBar.setPanelText(1, "before");
            SampleTimer::tick(slot, slot, w.state);
        } else {
            w.pressRun(slot, "select V=1");
        }
        QVERIFY(slot.waiting());
        RunControl::stop(slot, slot);
        QVERIFY(!slot.running());
        QVERIFY(SamplingSlots::settled(slot));

        QVERIFY(!slot.running());
        QVERIFY(!slot.tmSample.isActive());
        QVERIFY(slot.vValueList.isEmpty() && slot.vDateList.isEmpty());
        QVERIFY(slot.chart.isEmpty());
        QCOMPARE(slot.statusBar.panelText(1), runningFirst ? QString("before") : QString());
        QCOMPARE(slot.statusBar.panelText(2), QString());
        QCOMPARE(slot.runs, runningFirst ? (QStringList{"started", "stopped"}) : QStringList{"stopped"});
    }

    void wrongPasswordLeavesTheSlotStopped()
    {
        SimServer::Options guarded;
        guarded.password = "secret";
        SampledServer server(*sandbox_, guarded);
        QVERIFY(server.server.isRunning());
        SamplingSlots w(server);
        SlotUnderTest &slot = w.slot(5);
        w.strip.password = "wrong";
        QVERIFY(w.run(slot, "select V=1"));
        QVERIFY2(slot.statusBar.panelText(1).startsWith("Brrr... "), qPrintable(slot.statusBar.panelText(1)));
        QVERIFY(slot.statusBar.panelText(1).size() > 8);
        QVERIFY(!slot.running());
        QVERIFY(slot.runs.isEmpty());
        QCOMPARE(slot.vSQL, QString("select V=1")); // the copied statement stays

        w.strip.password = "secret";
        QVERIFY(w.run(slot, QString()));
        QVERIFY(slot.tmSample.isActive());
        QCOMPARE(slot.statusBar.panelText(1), "Connected to " + server.dsn);
    }

    void failedRunHaltsARunningSlot()
    {
        SamplingSlots w(*server_);
        SlotUnderTest &slot = w.slot(6);
        QVERIFY(w.run(slot, "select V=1"));
        QVERIFY(slot.running());
        slot.controls.sameConn = false;
        w.strip.server = "no-such-dsn";
        QVERIFY(w.run(slot, "select V=1"));
        QVERIFY(slot.statusBar.panelText(1).startsWith("Brrr... "));
        QVERIFY(!slot.running());
        // Halted, not stopped: the view is not told, so the style stays locked until Stop.
        QCOMPARE(slot.runs, QStringList{"started"});
        RunControl::stop(slot, slot);
        QCOMPARE(slot.runs, (QStringList{"started", "stopped"}));
    }
};

QUINTARO_TEST(RunControlTest)
#include "RunControlTest.moc"
