#include "ChartProbe.h"
#include "TChart.h"
#include "TestRegistry.h"

#include <QSet>
#include <QTest>
#include <cmath>
#include <qcustomplot.h>

class TimeAxisTest : public QObject {
    Q_OBJECT
private slots:
    void ticksReadApartOnWholeSeconds_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("stepSeconds");
        QTest::addColumn<int>("width");
        QTest::newRow("one point") << 1 << 1.0 << 600;
        QTest::newRow("two points a second apart") << 2 << 1.0 << 600;
        QTest::newRow("three points a second apart") << 3 << 1.0 << 900;
        QTest::newRow("seven points a second apart, wide") << 7 << 1.0 << 1600;
        QTest::newRow("ten points a second apart") << 10 << 1.0 << 600;
        QTest::newRow("eight points 3 s apart") << 8 << 3.0 << 600;
        QTest::newRow("an hour at 1 s") << 3600 << 1.0 << 600;
        QTest::newRow("two days at a minute") << 2880 << 60.0 << 600;
    }
    void ticksReadApartOnWholeSeconds()
    {
        QFETCH(int, points);
        QFETCH(double, stepSeconds);
        QFETCH(int, width);
        TChart chart;
        chart.resize(width, 300);
        const double start = QDateTime(QDate(2026, 12, 11), QTime(12, 29, 51)).toSecsSinceEpoch();
        for (int i = 0; i < points; ++i)
            chart.addXY(start + i * stepSeconds, i);
        settle(chart);
        const QCPAxis *axis = plotOf(chart)->xAxis;
        QVERIFY(axis->tickLabels());
        const QVector<double> ticks = axis->tickVector();
        const QVector<QString> labels = axis->tickVectorLabels();
        QVERIFY(!ticks.isEmpty());
        for (double tick : ticks)
            QCOMPARE(tick, std::floor(tick));
        QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
    }

    void emptyChartHasNoTickLabels()
    {
        TChart chart;
        chart.resize(600, 300);
        settle(chart);
        const QCustomPlot *plot = plotOf(chart);
        QVERIFY(!plot->xAxis->tickLabels());
        QVERIFY(!plot->yAxis->tickLabels());
        chart.addXY(QDateTime(QDate(2026, 12, 11), QTime(12, 0)), 5);
        settle(chart);
        QVERIFY(plot->xAxis->tickLabels());
        QVERIFY(plot->yAxis->tickLabels());
        chart.clearPoints();
        settle(chart);
        QVERIFY(!plot->xAxis->tickLabels());
        QVERIFY(!plot->yAxis->tickLabels());
    }
};

QUINTARO_TEST(TimeAxisTest)
#include "TimeAxisTest.moc"
