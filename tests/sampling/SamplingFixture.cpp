#include "SamplingFixture.h"

#include "Regional.h"
#include "RunControl.h"
#include "SampleTimer.h"

#include <QTest>

namespace {
constexpr int answerTimeoutMs = 30000;
} // namespace

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

SamplingSlots::SamplingSlots(const SampledServer &server)
    : strip{server.dsn, QStringLiteral("master"), QStringLiteral("sa"), QString(), true}
{
}

void SamplingSlots::pressRun(SlotUnderTest &slot, const QString &reSQL)
{
    if (!wired_.contains(&slot)) {
        QObject::connect(&slot.tmWait, &QTimer::timeout, [&slot] { SampleTimer::waited(slot); });
        wired_.insert(&slot);
    }
    RunControl::run(slot, slot, state, sbStatus, reSQL, strip.connectionString(), strip.server);
}

bool SamplingSlots::run(SlotUnderTest &slot, const QString &reSQL)
{
    pressRun(slot, reSQL);
    return settled(slot);
}

bool SamplingSlots::tick(SlotUnderTest &slot)
{
    SampleTimer::tick(slot, slot, state);
    return settled(slot);
}

bool SamplingSlots::settled(const SlotUnderTest &slot)
{
    return QTest::qWaitFor([&slot] { return !slot.dbLocal.busy(); }, answerTimeoutMs);
}

qsizetype sentCount(const SimServer &server, const QString &statement)
{
    return server.loggedBatches().count(QStringLiteral("/**/\n") + statement);
}
