#include "SlotMetrics.h"
#include "TestRegistry.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(SlotMetrics)

// The exposition text Prometheus parses: a name a slot may have must not break a line.
class MetricsTextTest : public QObject {
    Q_OBJECT

private slots:
    void writesEachSlotsLines_data()
    {
        QTest::addColumn<SlotMetrics>("metrics");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        SlotMetrics plain{QStringLiteral("tx"), QStringLiteral("PRODASE"), 12.5, 0.004, 7, 1};
        QTest::newRow("every metric")
            << plain
            << QStringList{"quintaro_sample_value{slot=\"tx\",server=\"PRODASE\"} 12.5\n",
                           "quintaro_sample_duration_seconds{slot=\"tx\",server=\"PRODASE\"} 0.004\n",
                           "quintaro_samples_total{slot=\"tx\",server=\"PRODASE\"} 7\n",
                           "quintaro_sample_failures_total{slot=\"tx\",server=\"PRODASE\"} 1\n",
                           "# TYPE quintaro_samples_total counter\n",
                           "# TYPE quintaro_sample_value gauge\n"}
            << QStringList();
        SlotMetrics odd{QStringLiteral("a\"b\\c\nd"), QStringLiteral("h:5000"), std::nullopt, std::nullopt, 0, 3};
        QTest::newRow("quotes, backslashes and line ends escaped; no value yet")
            << odd << QStringList{"quintaro_sample_failures_total{slot=\"a\\\"b\\\\c\\nd\",server=\"h:5000\"} 3\n"}
            << QStringList{"quintaro_sample_value{", "quintaro_sample_duration_seconds{"};
        SlotMetrics large{QStringLiteral("x"), QStringLiteral("s"), 1e20, std::nan(""), 0, 0};
        QTest::newRow("large numbers and NaN")
            << large
            << QStringList{"quintaro_sample_value{slot=\"x\",server=\"s\"} 1e+20\n",
                           "quintaro_sample_duration_seconds{slot=\"x\",server=\"s\"} NaN\n"}
            << QStringList();
    }

    void writesEachSlotsLines()
    {
        QFETCH(SlotMetrics, metrics);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const QString text = QString::fromUtf8(prometheusText({metrics}));
        for (const QString &line : present)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + text));
        for (const QString &part : absent)
            QVERIFY2(!text.contains(part), qPrintable(part));
    }
};

QUINTARO_TEST(MetricsTextTest)
#include "MetricsTextTest.moc"
