#include "DataFilesFixture.h"
#include "OdbcSandbox.h"
#include "PerformanceDataFile.h"
#include "RunControl.h"
#include "SampleTimer.h"
#include "SimServer.h"
#include "TestRegistry.h"

#include <QTest>
#include <QTimer>

// A save lets events run, so the slot's own sample, against the simulated server, comes in
// the middle of it.
class SaveDuringSamplingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OdbcSandbox> sandbox_;
    std::unique_ptr<SimServer> server_;
    QString dsn_;

private slots:
    void initTestCase()
    {
        sandbox_ = std::make_unique<OdbcSandbox>();
        server_ = std::make_unique<SimServer>();
        QVERIFY(server_->start());
        dsn_ = OdbcSandbox::uniqueDsnName(QStringLiteral("datafiles"));
        sandbox_->addDsn(dsn_, server_->port(), QStringLiteral("5.0"));
    }
    void cleanupTestCase()
    {
        server_.reset();
        sandbox_.reset();
    }

    void sampleTakenDuringSaveWaitsForTheNextSave()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        // No second tick of its own while the test runs.
        slot.controls.interval = QStringLiteral("3600");
        RunControl::run(slot, slot, w.state, w.sbStatus, QStringLiteral("select W=2"),
                        QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;User ID=sa;Data Source=")
                            + dsn_ + QStringLiteral(";Initial Catalog=master;Password=;Database=master"),
                        dsn_);
        // The timer starts once the server has answered.
        QTRY_VERIFY2(slot.tmSample.isActive(), qPrintable(slot.statusBar.panelText(1)));
        constexpr int total = 400000;
        DataFilesFixture::addPairs(slot, 0, total);

        QString progressAfterSample;
        QTimer::singleShot(0, [&] {
            SampleTimer::tick(slot, slot, w.state);
            // The answer comes back to this thread while the save still holds it.
            QTRY_VERIFY(!slot.waiting());
            QTimer::singleShot(0, [&] { progressAfterSample = slot.statusBar.panelText(1); });
        });
        const QString file = w.path("live.csv");
        SavePerformanceData(file, slot, slot, w.context);

        QCOMPARE(slot.vValueList.size(), total + 1);
        QCOMPARE(slot.vValueList.last(), QString("2"));
        QCOMPARE(slot.chart, QStringList{QString("draw newest: %1 pairs").arg(total + 1)});
        QVERIFY2(progressAfterSample.endsWith(QString(" of %1...").arg(total + 1)), qPrintable(progressAfterSample));
        QCOMPARE(slot.edExFrom, QString::number(total - 1));
        const QByteArray saved = readBytes(file);
        QCOMPARE(saved.count('\n'), total + 1);
        QVERIFY(saved.endsWith(pairLine(total - 1)));

        // The sample of the tick comes with the next save, once.
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), saved + narrow(slot.vDateList.last() + ",2\r\n"));
        RunControl::stop(slot, slot);
    }
};

QUINTARO_TEST(SaveDuringSamplingTest)
#include "SaveDuringSamplingTest.moc"
