#include "TChartPoints.h"
#include "TChartSeries.h"
#include "TestRegistry.h"

#include <QRandomGenerator>
#include <QTest>
#include <qcustomplot.h>

// Found by the list comparison, which looks in the points' own namespace.
bool operator==(const QCPGraphData &a, const QCPGraphData &b)
{
    return a.key == b.key && a.value == b.value;
}

namespace {

// The series' sampling beside the graph's own, on the same points and axes.
class ComparedSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;

    QVector<QCPGraphData> lineData() const
    {
        QVector<QCPGraphData> data;
        getOptimizedLineData(&data, visibleBegin(), visibleEnd());
        return data;
    }
    QVector<QCPGraphData> graphLineData() const
    {
        QVector<QCPGraphData> data;
        QCPGraph::getOptimizedLineData(&data, visibleBegin(), visibleEnd());
        return data;
    }
    QVector<QCPGraphData> scatterData() const
    {
        QVector<QCPGraphData> data;
        getOptimizedScatterData(&data, visibleBegin(), visibleEnd());
        return data;
    }
    QVector<QCPGraphData> graphScatterData() const
    {
        QVector<QCPGraphData> data;
        QCPGraph::getOptimizedScatterData(&data, visibleBegin(), visibleEnd());
        return data;
    }

private:
    QCPGraphDataContainer::const_iterator visibleBegin() const
    {
        QCPGraphDataContainer::const_iterator begin, end;
        getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));
        return begin;
    }
    QCPGraphDataContainer::const_iterator visibleEnd() const
    {
        QCPGraphDataContainer::const_iterator begin, end;
        getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));
        return end;
    }
};

enum class Shape { Noise, Ramp, Ties, Clusters, Gaps };

// Points of the shape, one second apart unless the shape says otherwise; every pixel column holds
// values of more than one height.
void fill(TChartPoints &points, Shape shape, int count)
{
    QRandomGenerator random(17);
    double key = 1.8e9;
    for (int i = 0; i < count; ++i) {
        double value = 0;
        switch (shape) {
        case Shape::Noise: value = random.bounded(1000.0); break;
        case Shape::Ramp: value = i % 977 + (i % 3) * 0.5; break;
        case Shape::Ties: value = double(random.bounded(4)); break;
        case Shape::Clusters: value = random.bounded(100.0); break;
        case Shape::Gaps: value = std::sin(i / 500.0) * 50 + random.bounded(5.0); break;
        }
        points.add(key, value);
        if (shape == Shape::Clusters)
            key += i % 5000 == 0 ? 1 : 0;
        else if (shape == Shape::Gaps)
            key += (i / 20000) % 2 ? 1 : 300;
        else
            key += 1;
    }
}

} // namespace

Q_DECLARE_METATYPE(Shape)

class TChartSeriesTest : public QObject {
    Q_OBJECT
private slots:
    // The lowest and highest of any run, first of equals, as a walk over the run finds them,
    // also after points went in before others.
    void extremesAreThoseOfAWalk()
    {
        TChartPoints points;
        QRandomGenerator random(5);
        for (int i = 0; i < 70000; ++i)
            points.add(double(i), double(random.bounded(50)));
        for (int i = 0; i < 300; ++i)
            points.add(double(random.bounded(70000)), double(random.bounded(60)) - 5);
        const qsizetype size = points.size();
        QList<std::pair<qsizetype, qsizetype>> runs{{0, size}, {0, 1}, {size - 1, size}, {16, 32},
                                                     {255, 4097}, {4096, 65536}, {1, size - 1}};
        for (int i = 0; i < 300; ++i) {
            const qsizetype begin = random.bounded(int(size));
            runs.append({begin, begin + 1 + random.bounded(int(size - begin))});
        }
        for (const auto &[begin, end] : runs) {
            qsizetype lowest = begin;
            qsizetype highest = begin;
            for (qsizetype i = begin + 1; i < end; ++i) {
                if (points.at(i).value < points.at(lowest).value)
                    lowest = i;
                if (points.at(i).value > points.at(highest).value)
                    highest = i;
            }
            const TChartPoints::Extremes extremes = points.extremes(begin, end);
            QCOMPARE(extremes.lowest, lowest);
            QCOMPARE(extremes.highest, highest);
        }
        for (qsizetype i = 1; i < size; ++i)
            QVERIFY(points.at(i - 1).key <= points.at(i).key);
    }

    // What the series hands on to be drawn is what the graph would hand on from every point:
    // the drawing looks the same at any zoom.
    void samplesAsTheGraphDoes_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<double>("viewStart"); // share of the points' span
        QTest::addColumn<double>("viewEnd");
        const std::pair<const char *, Shape> shapes[] = {{"noise", Shape::Noise},
                                                         {"ramp", Shape::Ramp},
                                                         {"ties", Shape::Ties},
                                                         {"clusters of equal keys", Shape::Clusters},
                                                         {"dense and sparse stretches", Shape::Gaps}};
        for (const auto &[name, shape] : shapes) {
            QTest::addRow("%s, whole", name) << shape << 0.0 << 1.0;
            QTest::addRow("%s, zoomed into the middle", name) << shape << 0.41 << 0.47;
            QTest::addRow("%s, past the start", name) << shape << -0.2 << 0.3;
            QTest::addRow("%s, a few points", name) << shape << 0.5 << 0.5001;
        }
    }
    void samplesAsTheGraphDoes()
    {
        QFETCH(Shape, shape);
        QFETCH(double, viewStart);
        QFETCH(double, viewEnd);
        QCustomPlot plot;
        plot.resize(700, 300);
        TChartPoints points;
        fill(points, shape, 200000);
        auto *series = new ComparedSeries(SeriesKind::Point, plot.xAxis, plot.yAxis, points);
        const double first = points.at(0).key;
        const double span = points.at(points.size() - 1).key - first;
        plot.xAxis->setRange(first + viewStart * span, first + viewEnd * span);
        plot.yAxis->setRange(-100, 1100);
        plot.replot();

        QCOMPARE(series->lineData(), series->graphLineData());
        QCOMPARE(series->scatterData(), series->graphScatterData());
    }
};

QUINTARO_TEST(TChartSeriesTest)
#include "TChartSeriesTest.moc"
