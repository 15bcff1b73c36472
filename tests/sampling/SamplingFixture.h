#pragma once

#include "ConnectionSettings.h"
#include "ContextUnderTest.h"
#include "OdbcSandbox.h"
#include "SampledServer.h"

#include <QObject>
#include <QSet>
#include <memory>

// A test class whose cases share one simulated ASE server, started once for the class, with
// the regional settings the cases expect.
class SamplingTestCase : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<OdbcSandbox> sandbox_;
    std::unique_ptr<SampledServer> server_;
private slots:
    void initTestCase();
    void cleanupTestCase();
};

// Slots sampling a server without a window: Run and the timer's tick called as the window calls
// them, with the connection settings the window's control strip starts with, pointed at the
// server. The sample timers are wired to nothing, so a sample is taken only when a test ticks;
// the waiting notice is wired as the window wires it.
struct SamplingSlots : ContextUnderTest {
    explicit SamplingSlots(const SampledServer &server);

    // Run with the statement as the query box holds it; returns at once, the answer to come.
    void pressRun(SlotUnderTest &slot, const QString &reSQL);
    // Run, and every answer it brings; false if they did not all come.
    [[nodiscard]] bool run(SlotUnderTest &slot, const QString &reSQL);
    // One tick of the slot's timer, as if its interval had passed, and the sample's answer.
    [[nodiscard]] bool tick(SlotUnderTest &slot);
    // Nothing of the slot's, answered or abandoned, is still with its worker.
    [[nodiscard]] static bool settled(const SlotUnderTest &slot);

    ConnectionSettings strip;

private:
    QSet<const SlotUnderTest *> wired_;
};

// Every batch of the server's log that is exactly "/**/" and the statement, as a slot sends it.
qsizetype sentCount(const SimServer &server, const QString &statement);
