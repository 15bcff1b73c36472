#include "SlotMetrics.h"

#include <QLocale>
#include <cmath>
#include <functional>

namespace {

QString labelValue(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'"')
            escaped += QStringLiteral("\\\"");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else
            escaped += c;
    }
    return escaped;
}

QString number(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("+Inf") : QStringLiteral("-Inf");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

struct Family {
    const char *name;
    const char *type;
    const char *help;
    std::function<std::optional<double>(const SlotMetrics &)> read;
};

} // namespace

QByteArray prometheusText(const QList<SlotMetrics> &all)
{
    static const Family families[] = {
        {"quintaro_sample_value", "gauge",
         "The slot's last sampled value, or its change since the sample before for a slot with Delta=yes.",
         [](const SlotMetrics &m) { return m.value; }},
        {"quintaro_sample_duration_seconds", "gauge",
         "How long the slot's last sample took, from its tick to its recorded value.",
         [](const SlotMetrics &m) { return m.durationSeconds; }},
        {"quintaro_samples_total", "counter", "Samples the slot has taken.",
         [](const SlotMetrics &m) { return std::optional<double>(double(m.samples)); }},
        {"quintaro_sample_failures_total", "counter", "Samples, logins and file writes of the slot that failed.",
         [](const SlotMetrics &m) { return std::optional<double>(double(m.failures)); }},
    };
    QString text;
    for (const Family &family : families) {
        text +=
            QStringLiteral("# HELP %1 %2\n# TYPE %1 %3\n")
                .arg(QLatin1StringView(family.name), QLatin1StringView(family.help), QLatin1StringView(family.type));
        for (const SlotMetrics &metrics : all) {
            const std::optional<double> value = family.read(metrics);
            if (!value)
                continue;
            text += QLatin1StringView(family.name) + QStringLiteral("{slot=\"") + labelValue(metrics.slot) +
                    QStringLiteral("\",server=\"") + labelValue(metrics.server) + QStringLiteral("\"} ") +
                    number(*value) + u'\n';
        }
    }
    return text.toUtf8();
}
