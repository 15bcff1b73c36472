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
#include <QTest>

namespace {

const QString counter = QStringLiteral("select Transactions from master..monState");

double number(QStringView text)
{
    return Regional::current().parseNumber(text).value();
}

} // namespace

class SampleTickTest : public SamplingTestCase {
    Q_OBJECT

private slots:

    void counterSampledAndPlotted()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(1);
        const qsizetype batchesBefore = server_->server.loggedBatches().count("/**/\n" + counter);
        w.run(1, counter);
        for (int tick = 0; tick < 3; ++tick) {
            SamplingWindow::fire(slot);
            QVERIFY(slot.running());
        }
        QCOMPARE(server_->server.loggedBatches().count("/**/\n" + counter) - batchesBefore, 3);
        QCOMPARE(slot.tmSample.interval(), 3000);
        QCOMPARE(slot.vValueList.size(), 3);
        QCOMPARE(slot.vDateList.size(), 3);
        QVERIFY(Regional::current().parseTimeLine(slot.vDateList.last()));
        const QList<double> values{number(slot.vValueList[0]), number(slot.vValueList[1]), number(slot.vValueList[2])};
        QVERIFY(values[0] > 10000);
        // The first value, drawn alone, is put at 0; the rest are appended as they are.
        QCOMPARE(SamplingWindow::plotted(slot), (QList<double>{0, values[1], values[2]}));
        QCOMPARE(slot.edValueName->text(), QString("Transactions"));
        QCOMPARE(slot.chrtStatistics->footText(),
                 QString("Statistics for Transactions [Y-Axis is VALUE, X-Axis is TIME]"));
        QCOMPARE(slot.sbStatus->panelText(2), "L.V: " + slot.vValueList.last().toString());
        QCOMPARE(slot.sbStatus->panelText(1), "V.T: " + slot.vDateList.last().mid(11).toString());

        // Stop, restyle (a rebuild draws the first value as it is), Run: the same lists go on.
        slot.bbtStopSampling->click();
        slot.cbStyle->setCurrentText("Line");
        QCOMPARE(SamplingWindow::plotted(slot), values);
        slot.bbtStartSampling->click();
        SamplingWindow::fire(slot);
        QCOMPARE(slot.vValueList.size(), 4);
        QCOMPARE(slot.chrtStatistics->pointCount(), 4);
        QCOMPARE(slot.chrtStatistics->seriesKind(), SeriesKind::Line);

        // After Clear the next sample is drawn alone again.
        slot.bbtClear->click();
        SamplingWindow::fire(slot);
        QCOMPARE(slot.vValueList.size(), 1);
        QCOMPARE(SamplingWindow::plotted(slot), QList<double>{0});
    }

    void deltaLiveEqualsRebuild()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(2);
        slot.cbDelta->setChecked(true);
        w.run(2, "select Selects from master..monState");
        for (int tick = 0; tick < 4; ++tick) {
            SamplingWindow::fire(slot);
            QTest::qWait(20); // lets the counter move
        }
        QList<double> deltas{0};
        for (int i = 1; i < 4; ++i)
            deltas << number(slot.vValueList[i]) - number(slot.vValueList[i - 1]);
        QCOMPARE(SamplingWindow::plotted(slot), deltas);
        slot.bbtStopSampling->click();
        slot.cbStyle->setCurrentText("Point");
        QCOMPARE(SamplingWindow::plotted(slot), deltas);
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
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(slotNumber);
        slot.edValueName->setText(typedName);
        w.run(slotNumber, statement);
        SamplingWindow::fire(slot);
        QVERIFY2(slot.running(), qPrintable(slot.sbStatus->panelText(1)));
        QCOMPARE(slot.vValueList.toStringList(), recorded);
        QCOMPARE(slot.vDateList.size(), recorded.size());
        QCOMPARE(slot.edValueName->text(), name);
        QCOMPARE(slot.chrtStatistics->pointCount(), int(recorded.size()));
        QCOMPARE(slot.sbStatus->panelText(2), recorded.isEmpty() ? QString() : "L.V: " + recorded.last());
        QVERIFY(slot.sbStatus->panelText(1).startsWith("V.T: "));
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
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(5);
        slot.edInterval->setText(seconds);
        w.run(5, "select V=1");
        SamplingWindow::fire(slot);
        QVERIFY(slot.running());
        QCOMPARE(slot.tmSample.interval(), interval);
    }

    void escapeStopsValuesInAllSlotsUntilRun()
    {
        SamplingWindow w(*server_);
        TChartSlot &first = w.slot(1);
        TChartSlot &second = w.slot(2);
        w.run(1, "select V=1");
        w.run(2, "select W=2");
        SamplingWindow::fire(first);
        SamplingWindow::fire(second);
        w.window->FormKeyPress(QChar(27));
        QVERIFY(w.window->state.bAbort);
        for (TChartSlot *slot : {&first, &second}) {
            slot->sbStatus->setPanelText(1, QString());
            SamplingWindow::fire(*slot);
            QCOMPARE(slot->vValueList.size(), 1);
            QVERIFY(slot->sbStatus->panelText(1).startsWith("V.T: "));
            QVERIFY(slot->running());
        }
        first.bbtStartSampling->click(); // any Run clears the flag for every slot
        SamplingWindow::fire(second);
        QCOMPARE(second.vValueList.toStringList(), (QStringList{"2", "2"}));
    }

    void updateSqlOnARunningSlot()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(6);
        w.run(6, "select V=1");
        SamplingWindow::fire(slot);
        w.window->reSQL->setPlainText("select W=2");
        slot.bbtUpdateSQL->click();
        SamplingWindow::fire(slot);
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"1", "2"}));
        QCOMPARE(slot.edValueName->text(), QString("V"));
        QCOMPARE(server_->server.loggedBatches().last(), QString("/**/\nselect W=2"));

        // Emptied by Update SQL, the statement fails at the next tick.
        w.window->reSQL->clear();
        slot.bbtUpdateSQL->click();
        SamplingWindow::fire(slot);
        QVERIFY(!slot.running());
        QVERIFY(slot.sbStatus->panelText(1).startsWith("Sampling Stopped...\r\n"));
    }

    void sixSlotsStayApart()
    {
        SamplingWindow w(*server_);
        for (int n = 1; n <= 6; ++n) {
            w.slot(n).edInterval->setText(QString::number(n));
            w.run(n, QString("select V%1=%1").arg(n));
        }
        for (int round = 0; round < 2; ++round)
            for (int n : {6, 2, 4, 1, 5, 3})
                SamplingWindow::fire(w.slot(n));
        for (int n = 1; n <= 6; ++n) {
            TChartSlot &slot = w.slot(n);
            const QString value = QString::number(n);
            QCOMPARE(slot.vValueList.toStringList(), (QStringList{value, value}));
            QCOMPARE(slot.edValueName->text(), "V" + value);
            QCOMPARE(slot.sbStatus->panelText(2), "L.V: " + value);
            QCOMPARE(slot.tmSample.interval(), n * 1000);
            QCOMPARE(SamplingWindow::plotted(slot), (QList<double>{double(n), double(n)}));
        }
    }

    void failureStopsOnlyItsSlot()
    {
        SamplingWindow w(*server_);
        TChartSlot &good = w.slot(1);
        TChartSlot &bad = w.slot(2);
        w.run(1, "select V=1");
        w.run(2, "select V=2");
        SamplingWindow::fire(bad);
        w.window->reSQL->setPlainText("select * from master..monNoSuchTable");
        bad.bbtUpdateSQL->click();
        SamplingWindow::fire(bad);
        SamplingWindow::fire(good);
        QVERIFY(!bad.running());
        QVERIFY2(bad.sbStatus->panelText(1).startsWith("Sampling Stopped...\r\n"), qPrintable(bad.sbStatus->panelText(1)));
        QVERIFY(bad.sbStatus->panelText(1).contains("monNoSuchTable"));
        QVERIFY(!bad.cbStyle->isEnabled());
        QCOMPARE(bad.vValueList.toStringList(), QStringList{"2"});
        QCOMPARE(bad.chrtStatistics->pointCount(), 1);
        QVERIFY(good.running());
        QCOMPARE(good.vValueList.toStringList(), QStringList{"1"});
    }

    void valueThatIsNotANumberStopsTheSlotKeepingItsLines()
    {
        SamplingWindow w(*server_);
        TChartSlot &slot = w.slot(3);
        w.run(3, "select V=1");
        SamplingWindow::fire(slot);
        w.window->reSQL->setPlainText("select V='abc'");
        slot.bbtUpdateSQL->click();
        SamplingWindow::fire(slot);
        QVERIFY(!slot.running());
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"1", "abc"}));
        QVERIFY(slot.sbStatus->panelText(1).startsWith("Sampling Stopped...\r\n"));
        QCOMPARE(slot.sbStatus->panelText(2), QString("L.V: abc"));
    }

    void serverKilledMidRun()
    {
        SampledServer doomed(*sandbox_);
        QVERIFY(doomed.server.isRunning());
        SamplingWindow w(doomed);
        TChartSlot &slot = w.slot(4);
        w.run(4, counter);
        SamplingWindow::fire(slot);
        QVERIFY(slot.running());
        doomed.server.kill();
        SamplingWindow::fire(slot);
        QVERIFY(!slot.running());
        QVERIFY2(slot.sbStatus->panelText(1).startsWith("Sampling Stopped...\r\n"), qPrintable(slot.sbStatus->panelText(1)));
        QCOMPARE(slot.vValueList.size(), 1);
        QCOMPARE(slot.chrtStatistics->pointCount(), 1);
    }
};

QUINTARO_TEST(SampleTickTest)
#include "SampleTickTest.moc"
