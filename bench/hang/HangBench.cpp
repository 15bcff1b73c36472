// The longest gap between two turns of the window's event loop while servers misbehave, over
// the real ODBC path: logins to a port that never answers (TDS 5.0 and 7.4, waited out to
// their deadline), six slots sampling a server stopped with SIGSTOP for 3 s, and six slots
// whose statements take 2 s. Each scenario runs three times; the median of the longest gaps.
// Run offscreen: build/bench/hang/bench_hang

#include "BudgetTable.h"
#include "EventLoopWatch.h"
#include "OdbcSandbox.h"
#include "Regional.h"
#include "SilentServer.h"
#include "SimServer.h"
#include "TApplication.h"
#include "WindowUnderTest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {

using bench::BudgetTable;
using bench::Target;

constexpr int runs = 3;

std::unique_ptr<WindowUnderTest> windowOn(const QString &dsn)
{
    auto w = std::make_unique<WindowUnderTest>();
    w->window->edSRV->setEditText(dsn);
    w->window->show();
    return w;
}

// Lets the event loop run until done or out of time; the figures tell which.
void waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (!QTest::qWaitFor(done, timeoutMs) && timeoutMs > 10000)
        std::fprintf(stderr, "still waiting for the server after %d ms\n", timeoutMs);
}

void runSixSlots(WindowUnderTest &w, const QString &statement)
{
    for (int n = 1; n <= TfmMonSettings::slotCount; ++n) {
        TChartSlot *slot = w.window->slotByTag(n);
        slot->edInterval->setText(QStringLiteral("1"));
        w.window->reSQL->setPlainText(statement.arg(n));
        slot->bbtStartSampling->click();
    }
    waitUntil([&w] { return !w.waitingForServer(); }, 20000);
}

// Two windows log in to the silent port, one over each TDS version, until both give up.
double silentLogins(OdbcSandbox &sandbox, const SilentServer &silent)
{
    std::vector<std::unique_ptr<WindowUnderTest>> windows;
    for (const QString &version : {QStringLiteral("5.0"), QStringLiteral("7.4")}) {
        const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("silent") + version);
        sandbox.addDsn(dsn, silent.port(), version);
        windows.push_back(windowOn(dsn));
    }
    EventLoopWatch watch;
    for (const auto &w : windows) {
        w->window->bbtConnect->click();
        w->window->slotByTag(1)->bbtStartSampling->click();
    }
    waitUntil([&windows] {
        return std::none_of(windows.begin(), windows.end(), [](const auto &w) { return w->waitingForServer(); });
    }, 30000);
    return double(watch.longestGapMs());
}

double stoppedServer(SimServer &server, const QString &dsn)
{
    auto w = windowOn(dsn);
    runSixSlots(*w, QStringLiteral("select V%1=%1"));
    EventLoopWatch watch;
    server.pause();
    waitUntil([] { return false; }, 3000);
    server.resume();
    waitUntil([] { return false; }, 1500);
    return double(watch.longestGapMs());
}

double slowStatements(const QString &dsn)
{
    auto w = windowOn(dsn);
    runSixSlots(*w, QStringLiteral("waitfor delay '00:00:02' select V%1=%1"));
    EventLoopWatch watch;
    waitUntil([] { return false; }, 5000);
    return double(watch.longestGapMs());
}

double medianOf(const std::function<double()> &run)
{
    std::vector<double> gaps;
    for (int i = 0; i < runs; ++i)
        gaps.push_back(run());
    return bench::median(gaps);
}

} // namespace

int main(int argc, char **argv)
{
    TApplication application(argc, argv);
    Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
    OdbcSandbox sandbox;
    SilentServer silent;
    SimServer server;
    if (!silent.isListening() || !server.start()) {
        std::fprintf(stderr, "could not start the servers\n");
        return 1;
    }
    const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("hang"));
    sandbox.addDsn(dsn, server.port(), QStringLiteral("5.0"));

    const Target target{100, "< 100 ms"};
    BudgetTable table("longest gap between two event-loop turns while a server hangs");
    table.row("logins to a silent port, TDS 5.0 and 7.4, to their deadline", medianOf([&] {
                  return silentLogins(sandbox, silent);
              }), "ms", target);
    table.row("six slots sampling a server stopped (SIGSTOP) for 3 s", medianOf([&] {
                  return stoppedServer(server, dsn);
              }), "ms", target);
    table.row("six slots whose statements take 2 s", medianOf([&] { return slowStatements(dsn); }), "ms", target);
    table.note("a 10 ms precise timer in the window's thread; the gap it sees between two of its ticks");
    return 0;
}
