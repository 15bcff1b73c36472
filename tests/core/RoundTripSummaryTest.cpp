#include "RoundTripSummary.h"
#include "TestRegistry.h"

#include <QTest>

using std::chrono::microseconds;

class RoundTripSummaryTest : public QObject {
    Q_OBJECT
private slots:
    void figuresSinceRun_data()
    {
        QTest::addColumn<QList<qint64>>("micros");
        QTest::addColumn<qint64>("last");
        QTest::addColumn<qint64>("median");
        QTest::addColumn<qint64>("maximum");
        QTest::newRow("one") << QList<qint64>{203456} << qint64(203456) << qint64(203456) << qint64(203456);
        QTest::newRow("equal ones are their own median") << QList<qint64>{1500, 1500, 1500} << qint64(1500)
                                                         << qint64(1500) << qint64(1500);
        QTest::newRow("odd count, out of order") << QList<qint64>{300000, 100000, 200000} << qint64(200000)
                                                 << qint64(200000) << qint64(300000);
        QTest::newRow("even count takes the lower middle") << QList<qint64>{40, 10, 30, 20000} << qint64(20000)
                                                           << qint64(30) << qint64(20000);
        QTest::newRow("one stall among quick ones") << QList<qint64>{900, 910, 30000000, 905, 920} << qint64(920)
                                                    << qint64(910) << qint64(30000000);
        QTest::newRow("under a microsecond") << QList<qint64>{0, 0, 5} << qint64(5) << qint64(0) << qint64(5);
    }
    void figuresSinceRun()
    {
        QFETCH(QList<qint64>, micros);
        QFETCH(qint64, last);
        QFETCH(qint64, median);
        QFETCH(qint64, maximum);
        RoundTripSummary summary;
        QVERIFY(!summary.figures());
        for (qint64 roundTrip : micros)
            summary.add(microseconds(roundTrip));
        const auto figures = summary.figures();
        QVERIFY(figures);
        QCOMPARE(figures->count, micros.size());
        QCOMPARE(figures->last.count(), last);
        QCOMPARE(figures->maximum.count(), maximum);
        // Half a percent, the width of the histogram's bins.
        QVERIFY2(std::abs(figures->median.count() - median) <= median * 0.005 + 1,
                 qPrintable(QString::number(figures->median.count())));

        summary.restart();
        QVERIFY(!summary.figures());
    }
};

QUINTARO_TEST(RoundTripSummaryTest)
#include "RoundTripSummaryTest.moc"
