#include "DataFilesWindow.h"
#include "OdbcSandbox.h"
#include "PerformanceDataFile.h"
#include "SimServer.h"
#include "TStatusBar.h"
#include "TestRegistry.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// A save lets events run, so the slot's own sample tick, against the simulated server, comes
// in the middle of it.
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
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        w.window->edSRV->setCurrentText(dsn_);
        w.window->reSQL->setPlainText("select W=2");
        slot.bbtStartSampling->click();
        QVERIFY2(slot.running(), qPrintable(slot.sbStatus->panelText(1)));
        constexpr int total = 400000;
        DataFilesWindow::addPairs(slot, 0, total);

        QString progressAfterTick;
        QTimer::singleShot(0, w.window.get(), [&] {
            QVERIFY(QMetaObject::invokeMethod(&slot.tmSample, "timeout"));
            QTimer::singleShot(0, w.window.get(), [&] { progressAfterTick = slot.sbStatus->panelText(1); });
        });
        const QString file = w.path("live.csv");
        SavePerformanceData(file, slot, w.window->context());

        QCOMPARE(slot.vValueList.size(), total + 1);
        QCOMPARE(slot.vValueList.last().toString(), QString("2"));
        QVERIFY2(progressAfterTick.endsWith(QString(" of %1...").arg(total + 1)), qPrintable(progressAfterTick));
        QCOMPARE(slot.edExFrom, QString::number(total - 1));
        const QByteArray saved = readBytes(file);
        QCOMPARE(saved.count('\n'), total + 1);
        QVERIFY(saved.endsWith(pairLine(total - 1)));

        // The sample of the tick comes with the next save, once.
        SavePerformanceData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), saved + narrow(slot.vDateList.last().toString() + ",2\r\n"));
    }
};

QUINTARO_TEST(SaveDuringSamplingTest)
#include "SaveDuringSamplingTest.moc"
