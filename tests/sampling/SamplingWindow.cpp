#include "SamplingWindow.h"

#include "Regional.h"
#include "TChart.h"
#include "TChartSlot.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

SampledServer::SampledServer(OdbcSandbox &sandbox, const SimServer::Options &options)
    : server(options), dsn(OdbcSandbox::uniqueDsnName(QStringLiteral("sampled")))
{
    if (server.start())
        sandbox.addDsn(dsn, server.port(), QStringLiteral("5.0"));
}

void SamplingTestCase::initTestCase()
{
    Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
    sandbox_ = std::make_unique<OdbcSandbox>();
    server_ = std::make_unique<SampledServer>(*sandbox_);
    QVERIFY(server_->server.isRunning());
}

void SamplingTestCase::cleanupTestCase()
{
    server_.reset();
    sandbox_.reset();
}

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
}

void SamplingWindow::fire(TChartSlot &slot)
{
    QVERIFY(QMetaObject::invokeMethod(&slot.tmSample, "timeout"));
}

QList<double> SamplingWindow::plotted(const TChartSlot &slot)
{
    QList<double> ys;
    for (int i = 0; i < slot.chrtStatistics->pointCount(); ++i)
        ys << slot.chrtStatistics->point(i).y();
    return ys;
}
