#include "SamplingWindow.h"

#include "TChart.h"
#include "TChartSlot.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int answerTimeoutMs = 30000;

// Plain waiting, not QTRY_*: the benchmark runs outside any test function.
void waitForAnswers(const TChartSlot &slot)
{
    if (!QTest::qWaitFor([&slot] { return !slot.dbLocal.busy(); }, answerTimeoutMs))
        qWarning("slot %d: the server's answer did not come", slot.number());
}

} // namespace

SamplingWindow::SamplingWindow(const SampledServer &server)
{
    window->edSRV->setCurrentText(server.dsn);
    window->show();
}

TChartSlot &SamplingWindow::slot(int n)
{
    return *window->slotByTag(n);
}

void SamplingWindow::run(int n, const QString &statement)
{
    window->reSQL->setPlainText(statement);
    slot(n).bbtStartSampling->click();
    waitForAnswers(slot(n));
}

void SamplingWindow::fire(TChartSlot &slot)
{
    QMetaObject::invokeMethod(&slot.tmSample, "timeout");
    waitForAnswers(slot);
}

QList<double> SamplingWindow::plotted(const TChartSlot &slot)
{
    QList<double> ys;
    for (int i = 0; i < slot.chrtStatistics->pointCount(); ++i)
        ys << slot.chrtStatistics->point(i).y();
    return ys;
}
