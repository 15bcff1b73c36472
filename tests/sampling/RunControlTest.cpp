#include "Regional.h"
#include "SamplingWindow.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString spidProbe = QStringLiteral("/**/\nselect @@spid SPID");

qsizetype countOf(const QStringList &batches, const QString &batch)
{
    return batches.count(batch);
}

} // namespace

class RunControlTest : public SamplingTestCase {
    Q_OBJECT

private slots:

    void runWithoutAnyStatementDoesNothingVisible()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(1);
        w.window->sbStatus->setPanelText(2, "old message");
        w.window->state.bAbort = true;
        w.run(1, " \t\r\n");
        QCOMPARE(w.window->sbStatus->panelText(2), QString());
        QVERIFY(!w.window->state.bAbort);
        QVERIFY(!slot.running());
        QVERIFY(slot.cbStyle->isEnabled());
        for (int panel = 0; panel < 3; ++panel)
            QCOMPARE(slot.sbStatus->panelText(panel), QString());
        QVERIFY(!slot.dbLocal.connected());
    }

    void runOpensTheSlotsOwnConnectionAndStopKeepsIt()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(2);
        slot.cbMarks->setChecked(true); // not clicked: Run re-applies it
        w.run(2, "select V=1");
        QCOMPARE(slot.vSQL, QString("select V=1"));
        QVERIFY(slot.running());
        QCOMPARE(slot.tmSample.interval(), 1000);
        QVERIFY(!slot.cbStyle->isEnabled());
        QVERIFY(slot.chrtStatistics->marksVisible());
        QCOMPARE(slot.sbStatus->panelText(1), "Connected to " + server_->dsn);
        QVERIFY2(QRegularExpression("^S: \\d+@" + server_->dsn + "$").match(slot.sbStatus->panelText(0)).hasMatch(),
                 qPrintable(slot.sbStatus->panelText(0)));
        QVERIFY(!w.window->dblocal.connected()); // no Connect needed, none made

        // A later change of the query box does not reach the slot until Update SQL.
        w.window->reSQL->setPlainText("select W=2");
        slot.bbtStopSampling->click();
        QVERIFY(!slot.running());
        QVERIFY(slot.cbStyle->isEnabled());
        QVERIFY(slot.dbLocal.connected());
        slot.bbtStartSampling->click();
        QCOMPARE(slot.vSQL, QString("select V=1"));
        slot.bbtUpdateSQL->click();
        QCOMPARE(slot.vSQL, QString("select W=2"));
        w.window->reSQL->setPlainText("something else");
        slot.bbtShowSQL->click();
        QCOMPARE(w.window->reSQL->toPlainText(), QString("select W=2"));
        w.slot(3).bbtShowSQL->click(); // a slot that never ran empties the box
        QCOMPARE(w.window->reSQL->toPlainText(), QString());
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
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(4);
        slot.cbSameConn->setChecked(sameConnection);
        const qsizetype probesBefore = countOf(server_->server.loggedBatches(), spidProbe);
        QStringList panels;
        for (int run = 0; run < 3; ++run) {
            w.run(4, "select V=1");
            QVERIFY(slot.running());
            panels << slot.sbStatus->panelText(0);
        }
        QCOMPARE(countOf(server_->server.loggedBatches(), spidProbe) - probesBefore, probesAfterThreeRuns);
        QCOMPARE(panels.removeDuplicates(), sameConnection ? 2 : 0);
    }

    void wrongPasswordLeavesTheSlotStopped()
    {
        SimServer::Options guarded;
        guarded.password = "secret";
        SampledServer server(*sandbox_, guarded);
        QVERIFY(server.server.isRunning());
        SamplingWindow w(server);
        TChartSlot &slot = w.slot(5);
        w.window->edPassword->setText("wrong");
        w.run(5, "select V=1");
        QVERIFY2(slot.sbStatus->panelText(1).startsWith("Brrr... "), qPrintable(slot.sbStatus->panelText(1)));
        QVERIFY(slot.sbStatus->panelText(1).size() > 8);
        QVERIFY(!slot.running());
        QVERIFY(slot.cbStyle->isEnabled());
        QCOMPARE(slot.vSQL, QString("select V=1")); // the copied statement stays

        w.window->edPassword->setText("secret");
        slot.bbtStartSampling->click();
        QVERIFY(slot.running());
        QCOMPARE(slot.sbStatus->panelText(1), "Connected to " + server.dsn);
    }

    void failedRunHaltsARunningSlot()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(6);
        w.run(6, "select V=1");
        QVERIFY(slot.running());
        slot.cbSameConn->setChecked(false);
        w.window->edSRV->setCurrentText("no-such-dsn");
        slot.bbtStartSampling->click();
        QVERIFY(slot.sbStatus->panelText(1).startsWith("Brrr... "));
        QVERIFY(!slot.running());
        QVERIFY(!slot.cbStyle->isEnabled()); // halted: the style box stays locked until Stop
        slot.bbtStopSampling->click();
        QVERIFY(slot.cbStyle->isEnabled());
    }
};

QUINTARO_TEST(RunControlTest)
#include "RunControlTest.moc"
