#pragma once

#include "OdbcSandbox.h"
#include "SimServer.h"
#include "WindowUnderTest.h"
#include "paMonSettings.h"

#include <QObject>
#include <QTemporaryDir>
#include <memory>

class TChartSlot;

// A simulated ASE server reached through its own ODBC data source.
struct SampledServer {
    explicit SampledServer(OdbcSandbox &sandbox, const SimServer::Options &options = {});
    SimServer server;
    QString dsn;
};

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

// The real window, offscreen, in a folder of its own, its control strip pointing at a server
// and its dialogs answered from a script; the slots' timers are fired by hand.
struct SamplingWindow : WindowUnderTest {
    explicit SamplingWindow(const SampledServer &server);

    TChartSlot &slot(int n);
    // Puts the statement into the query box and presses Run.
    void run(int n, const QString &statement);
    // One tick of the slot's timer, as if its interval had passed.
    static void fire(TChartSlot &slot);
    // The chart's Y values in X order.
    static QList<double> plotted(const TChartSlot &slot);

};
