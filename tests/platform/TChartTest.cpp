#include "ChartProbe.h"
#include "TChart.h"
#include "TestRegistry.h"

#include <QSignalSpy>
#include <QTest>
#include <qcustomplot.h>

Q_DECLARE_METATYPE(SeriesKind)

namespace {

using Points = QList<QPointF>;

Points pointsOf(const TChart &chart)
{
    Points points;
    for (int i = 0; i < chart.pointCount(); ++i)
        points << chart.point(i);
    return points;
}

} // namespace

class TChartTest : public QObject {
    Q_OBJECT
private slots:
    void kindChangeKeepsTheSeries_data()
    {
        QTest::addColumn<SeriesKind>("from");
        QTest::addColumn<SeriesKind>("to");
        const QList<std::pair<SeriesKind, const char *>> kinds{{SeriesKind::FastLine, "FastLine"},
                                                               {SeriesKind::Line, "Line"},
                                                               {SeriesKind::Bar, "Bar"},
                                                               {SeriesKind::Area, "Area"},
                                                               {SeriesKind::Point, "Point"}};
        for (const auto &[from, fromName] : kinds)
            for (const auto &[to, toName] : kinds)
                QTest::addRow("%s to %s", fromName, toName) << from << to;
    }
    void kindChangeKeepsTheSeries()
    {
        QFETCH(SeriesKind, from);
        QFETCH(SeriesKind, to);
        TChart chart;
        chart.setSeriesKind(from);
        chart.setSeriesName(QStringLiteral("LineSeries1"));
        chart.setSeriesColor(QColor(10, 200, 30));
        chart.setMarksVisible(true);
        const QDateTime start(QDate(2024, 3, 1), QTime(12, 0));
        for (int i = 0; i < 5; ++i)
            chart.addXY(start.addSecs(i), i * 1.5);
        const Points before = pointsOf(chart);
        const TChartSeries *original = chart.series();

        chart.setSeriesKind(to);

        QCOMPARE(chart.seriesKind(), to);
        QCOMPARE(chart.series() == original, from == to);
        QCOMPARE(chart.series()->kind(), to);
        QCOMPARE(chart.seriesName(), QStringLiteral("LineSeries1"));
        QCOMPARE(chart.seriesColor(), QColor(10, 200, 30));
        QVERIFY(chart.marksVisible());
        QCOMPARE(pointsOf(chart), before);
        // The replacement draws the kept points, and adding goes on from them.
        settle(chart);
        chart.addXY(start.addSecs(10), 7);
        QCOMPARE(chart.pointCount(), 6);
        QCOMPARE(plotOf(chart)->plottableCount(), 1);
    }

    void pointsStayInAscendingOrder_data()
    {
        // Each point's Y is its place in the order it was added.
        QTest::addColumn<QList<double>>("keysAdded");
        QTest::addColumn<QList<double>>("expectedOrder");
        QTest::newRow("ascending") << QList<double>{1, 2, 3} << QList<double>{0, 1, 2};
        QTest::newRow("equal X at the end goes last") << QList<double>{1, 2, 2} << QList<double>{0, 1, 2};
        QTest::newRow("earlier than all goes first") << QList<double>{5, 6, 1} << QList<double>{2, 0, 1};
        QTest::newRow("earlier goes between") << QList<double>{1, 5, 3} << QList<double>{0, 2, 1};
        QTest::newRow("equal to the first goes after it") << QList<double>{4, 9, 4} << QList<double>{0, 2, 1};
        QTest::newRow("after every equal one in the middle")
            << QList<double>{1, 3, 3, 3, 8, 3} << QList<double>{0, 1, 2, 3, 5, 4};
        QTest::newRow("all equal") << QList<double>{7, 7, 7} << QList<double>{0, 1, 2};
    }
    void pointsStayInAscendingOrder()
    {
        QFETCH(QList<double>, keysAdded);
        QFETCH(QList<double>, expectedOrder);
        TChart chart;
        for (int i = 0; i < keysAdded.size(); ++i)
            chart.addXY(keysAdded[i], i);
        QList<double> keys;
        QList<double> order;
        for (const QPointF &point : pointsOf(chart)) {
            keys << point.x();
            order << point.y();
        }
        QCOMPARE(order, expectedOrder);
        QVERIFY(std::is_sorted(keys.begin(), keys.end()));
    }

    void dateTimeXIsSecondsSinceEpoch()
    {
        TChart chart;
        const QDateTime when(QDate(2025, 7, 14), QTime(8, 30, 15));
        chart.addXY(when, 2.5);
        QCOMPARE(chart.point(0), QPointF(when.toSecsSinceEpoch(), 2.5));
        QVERIFY(plotOf(chart)->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>());
    }

    void clearEmptiesAndRefitsTheAxes()
    {
        TChart chart;
        chart.resize(400, 300);
        chart.addXY(100, 1000);
        chart.addXY(200, -1000);
        settle(chart);
        chart.clearPoints();
        QCOMPARE(chart.pointCount(), 0);
        chart.addXY(300, 1);
        chart.addXY(400, 2);
        settle(chart);
        // Values from before the clear no longer stretch the axes.
        const QCPRange values = plotOf(chart)->yAxis->range();
        QVERIFY2(values.lower > 0 && values.upper < 3,
                 qPrintable(QStringLiteral("%1 .. %2").arg(values.lower).arg(values.upper)));
        const QCPRange keys = plotOf(chart)->xAxis->range();
        QCOMPARE(keys.lower, 300.0);
        QCOMPARE(keys.upper, 400.0);
    }

    void marksAreDrawn()
    {
        TChart chart;
        chart.resize(400, 300);
        for (int i = 0; i < 5; ++i)
            chart.addXY(i, i * 10);
        settle(chart);
        const QImage without = chart.grab().toImage();
        chart.setMarksVisible(true);
        settle(chart);
        QVERIFY(chart.grab().toImage() != without);
        chart.setMarksVisible(false);
        settle(chart);
        QCOMPARE(chart.grab().toImage(), without);
    }

    void footAndTitleLines()
    {
        TChart chart;
        chart.resize(400, 300);
        QCOMPARE(chart.footText(), QStringLiteral("Performance Analysis"));
        QCOMPARE(chart.titleText(), QString());
        settle(chart);
        const int plotTopUntitled = plotOf(chart)->axisRect()->top();

        chart.setTitleText(QStringLiteral("Loaded data"));
        chart.setFootText(QStringLiteral("Statistics for x"));
        settle(chart);
        QCOMPARE(chart.titleText(), QStringLiteral("Loaded data"));
        QCOMPARE(chart.footText(), QStringLiteral("Statistics for x"));
        QVERIFY(plotOf(chart)->axisRect()->top() > plotTopUntitled);

        chart.setTitleText(QString());
        settle(chart);
        QCOMPARE(chart.titleText(), QString());
        QCOMPARE(plotOf(chart)->axisRect()->top(), plotTopUntitled);
    }

    void backgroundColourPaintsThePanel()
    {
        TChart chart;
        chart.resize(400, 300);
        const QColor tint(0, 160, 90);
        chart.setBackgroundColor(tint);
        settle(chart);
        QCOMPARE(chart.backgroundColor(), tint);
        const QImage image = chart.grab().toImage();
        QCOMPARE(image.pixelColor(1, 1), tint);
        const QPoint insidePlot = plotOf(chart)->axisRect()->rect().topLeft() + QPoint(3, 3);
        QCOMPARE(image.pixelColor(insidePlot), QColor(Qt::white));
    }

    void doubleClickIsSignalled()
    {
        TChart chart;
        chart.resize(400, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QSignalSpy spy(&chart, &TChart::doubleClicked);
        QTest::mouseDClick(plotOf(chart), Qt::LeftButton, {}, QPoint(200, 150));
        QCOMPARE(spy.count(), 1);
    }

    void fillChildCoversTheChartWhenResized()
    {
        TChart chart;
        chart.resize(400, 300);
        auto *grid = new QWidget;
        chart.setFillChild(grid);
        QCOMPARE(grid->parentWidget(), &chart);
        QCOMPARE(grid->geometry(), chart.rect());
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.resize(520, 180);
        QCOMPARE(grid->geometry(), QRect(0, 0, 520, 180));
        // Covering means lying above the plot.
        QCOMPARE(chart.childAt(260, 90), grid);

        chart.setFillChild(nullptr);
        chart.resize(300, 300);
        QCOMPARE(grid->geometry(), QRect(0, 0, 520, 180));
    }
};

QUINTARO_TEST(TChartTest)
#include "TChartTest.moc"
