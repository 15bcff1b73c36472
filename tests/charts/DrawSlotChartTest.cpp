#include "LineList.h"
#include "Regional.h"
#include "SlotChart.h"
#include "TChart.h"
#include "TStatusBar.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

const QDateTime firstSample(QDate(2026, 3, 14), QTime(9, 26, 53));

// The eight things DrawSlotChart touches, without a window around them.
struct ChartParts {
    TChart chart;
    QCheckBox cbDelta;
    QTimer tmSample;
    TStatusBar sbStatus{{98, 200, 500}};
    QLineEdit edValueName;
    LineList dates;
    LineList values;

    bool draw(bool append)
    {
        return SlotChart::DrawSlotChart(append, chart, dates, values, cbDelta, tmSample, sbStatus, edValueName);
    }
    static QString timeLine(qsizetype index)
    {
        return Regional::current().formatTimeLine(firstSample.addSecs(3 * index));
    }
    void record(const QString &value)
    {
        dates << timeLine(dates.size());
        values << value;
    }
    // As the sample tick draws: a rebuild for the first line, appends after it.
    void sampleLive(const QStringList &samples)
    {
        for (const QString &value : samples) {
            record(value);
            draw(dates.size() != 1);
        }
    }
    QList<double> ys() const
    {
        QList<double> points;
        for (int i = 0; i < chart.pointCount(); ++i)
            points << chart.point(i).y();
        return points;
    }
};

} // namespace

class DrawSlotChartTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.')); }

    void liveAndRebuiltPoints_data()
    {
        QTest::addColumn<QStringList>("samples");
        QTest::addColumn<bool>("delta");
        QTest::addColumn<QList<double>>("live");
        QTest::addColumn<QList<double>>("rebuilt");

        // A first value is drawn as sampled, whatever its size, live and in every rebuild.
        QTest::newRow("first value above 10000, then another")
            << QStringList{"12345", "12400"} << false << QList<double>{12345, 12400} << QList<double>{12345, 12400};
        QTest::newRow("a lone first value above 10000") << QStringList{"1500000"} << false
                                                        << QList<double>{1500000} << QList<double>{1500000};
        QTest::newRow("first value of exactly 10000") << QStringList{"10000"} << false << QList<double>{10000}
                                                      << QList<double>{10000};
        QTest::newRow("first value below 0") << QStringList{"-20000", "3"} << false << QList<double>{-20000, 3}
                                             << QList<double>{-20000, 3};
        QTest::newRow("delta, first point 0") << QStringList{"20000", "20008", "20006.5"} << true
                                              << QList<double>{0, 8, -1.5} << QList<double>{0, 8, -1.5};
        // A blank line before a value leaves nothing to subtract: that point counts as the first.
        QTest::newRow("delta, empty line before a value") << QStringList{"5", "", "7", "9"} << true
                                                          << QList<double>{0, 0, 2} << QList<double>{0, 0, 2};
        QTest::newRow("delta, empty line first") << QStringList{"", "4", "6"} << true << QList<double>{0, 2}
                                                  << QList<double>{0, 2};
        QTest::newRow("empty value line skipped") << QStringList{"5", "", "-7.25"} << false
                                                  << QList<double>{5, -7.25} << QList<double>{5, -7.25};
    }

    void liveAndRebuiltPoints()
    {
        QFETCH(QStringList, samples);
        QFETCH(bool, delta);
        QFETCH(QList<double>, live);
        QFETCH(QList<double>, rebuilt);
        ChartParts parts;
        parts.cbDelta.setChecked(delta);
        parts.sampleLive(samples);
        QCOMPARE(parts.ys(), live);
        QVERIFY(parts.draw(false));
        QCOMPARE(parts.ys(), rebuilt);
        QCOMPARE(parts.values.toStringList(), samples); // the lists keep the values, never the differences
    }

    void footTextWrittenFirstAndAlways_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("foot");
        QTest::newRow("blanks and control characters trimmed")
            << " \tTransactions\x01 " << "Statistics for Transactions [Y-Axis is VALUE, X-Axis is TIME]";
        QTest::newRow("empty title") << "" << "Statistics for  [Y-Axis is VALUE, X-Axis is TIME]";
    }

    void footTextWrittenFirstAndAlways()
    {
        QFETCH(QString, title);
        QFETCH(QString, foot);
        ChartParts parts;
        QCOMPARE(parts.chart.footText(), QString("Performance Analysis"));
        parts.edValueName.setText(title);
        QVERIFY(parts.draw(false)); // empty lists: no points, the foot text still written
        QCOMPARE(parts.chart.footText(), foot);
        QCOMPARE(parts.chart.pointCount(), 0);
        QVERIFY(parts.chart.titleText().isEmpty());

        parts.chart.setFootText(QString());
        parts.record("abc");
        QVERIFY(!parts.draw(true));
        QCOMPARE(parts.chart.footText(), foot);
    }

    void unreadableLineStopsTheSlotKeepingEarlierPoints_data()
    {
        QTest::addColumn<int>("badIndex");
        QTest::addColumn<bool>("badDate");
        QTest::newRow("value that is not a number") << 2 << false;
        QTest::newRow("date line that is not a time") << 1 << true;
    }

    void unreadableLineStopsTheSlotKeepingEarlierPoints()
    {
        QFETCH(int, badIndex);
        QFETCH(bool, badDate);
        ChartParts parts;
        for (int i = 0; i < 4; ++i) {
            const bool bad = i == badIndex;
            parts.dates << (bad && badDate ? QStringLiteral("abc") : ChartParts::timeLine(i));
            parts.values << (bad && !badDate ? QStringLiteral("abc") : QString::number(i + 1));
        }
        const QStringList dates = parts.dates.toStringList();
        const QStringList values = parts.values.toStringList();
        parts.tmSample.start();
        QVERIFY(!parts.draw(false));
        QCOMPARE(parts.chart.pointCount(), badIndex);
        QVERIFY(!parts.tmSample.isActive());
        QVERIFY2(parts.sbStatus.panelText(1).startsWith("Sampling Stopped...\r\n'abc'"),
                 qPrintable(parts.sbStatus.panelText(1)));
        QCOMPARE(parts.dates.toStringList(), dates);
        QCOMPARE(parts.values.toStringList(), values);
    }

    void pointsGoInTimeOrder()
    {
        ChartParts parts;
        parts.dates << ChartParts::timeLine(20) << ChartParts::timeLine(0);
        parts.values << u"1" << u"2";
        QVERIFY(parts.draw(false));
        QCOMPARE(parts.ys(), (QList<double>{2, 1}));
        QCOMPARE(parts.chart.point(0).x(), double(firstSample.toSecsSinceEpoch()));
    }
};

QUINTARO_TEST(DrawSlotChartTest)
#include "DrawSlotChartTest.moc"
