#include "ConnectionControls.h"
#include "ConnectionSettings.h"
#include "MonitoringCatalogue.h"
#include "OdbcSandbox.h"
#include "ScriptedDialogs.h"
#include "SharedConnection.h"
#include "SimServer.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TStatusBar.h"
#include "TWindowState.h"
#include "TestRegistry.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>

namespace {
enum class Operation { GetMonTables, cbMonTableChange, GetMonColumns, cbMonColumnChange };
}
Q_DECLARE_METATYPE(Operation)

// Each catalogue operation traps its own failure, reports it with its own texts, and leaves the
// boxes as they were. The shared connection is closed and its server gone, as after a failed
// Connect that followed a good one.
class CatalogueFailureTest : public QObject {
    Q_OBJECT
private slots:
    void reportsAndKeepsBoxes_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("box");
        const QString stopped = QStringLiteral("Sampling Stopped Due to Exception...");
        QTest::newRow("GetMonTables") << Operation::GetMonTables << "Exception in GetMonTables..."
                                      << "Exception in GetMonTables";
        QTest::newRow("cbMonTableChange") << Operation::cbMonTableChange << stopped << "Exception in cbMonTableChange";
        QTest::newRow("GetMonColumns") << Operation::GetMonColumns << stopped << "Exception in GetMonTables";
        QTest::newRow("cbMonColumnChange") << Operation::cbMonColumnChange << stopped
                                           << "Exception in cbMonTableChange";
    }
    void reportsAndKeepsBoxes()
    {
        QFETCH(Operation, operation);
        QFETCH(QString, panel);
        QFETCH(QString, box);
        OdbcSandbox sandbox;
        SimServer gone;
        QVERIFY(gone.start());
        gone.stop();
        QStringList scratch;
        TWindowState state(scratch);
        state.bSybase = true;
        TStatusBar sbStatus({120, 130, 500, 50});
        SharedConnection dblocal(sbStatus);
        const QString connectionString =
            ConnectionSettings{QStringLiteral("127.0.0.1:%1").arg(gone.port()), "master", "sa", "", false}
                .connectionString();
        dblocal.worker().request<bool>(
            ConnectionWorker::Deadline::Query,
            [connectionString](TConnection &connection, TQuery &, bool &) {
                connection.setConnectionString(connectionString);
            },
            [](const ConnectionWorker::Reply<bool> &) {});
        ScriptedDialogs dialogs;
        QComboBox table, column;
        QPlainTextEdit tableDesc("table's"), columnDesc("column's");
        for (QComboBox *combo : {&table, &column})
            combo->setEditable(true);
        table.addItems({"monEngine", "monState"});
        table.setEditText("monstate");
        column.addItems({"LockWaits"});
        column.setEditText("LockWaits");
        // The catalogue's boxes only; the rest of the strip is not touched.
        ConnectionControls controls({.cbMonTable = &table,
                                     .meTableDesc = &tableDesc,
                                     .cbMonColumn = &column,
                                     .meColumnDesc = &columnDesc});
        MonitoringCatalogue catalogue(dblocal, controls, {state, sbStatus, dialogs, nullptr});

        switch (operation) {
        case Operation::GetMonTables:
            catalogue.GetMonTables();
            break;
        case Operation::cbMonTableChange:
            catalogue.cbMonTableChange();
            break;
        case Operation::GetMonColumns:
            catalogue.GetMonColumns();
            break;
        case Operation::cbMonColumnChange:
            catalogue.cbMonColumnChange();
            break;
        }
        QTRY_VERIFY(!dblocal.worker().busy());

        QCOMPARE(sbStatus.panelText(2), panel);
        QCOMPARE(dialogs.asked.size(), 1);
        QVERIFY2(dialogs.asked[0].startsWith("error: " + box + "\n") && dialogs.asked[0].size() > box.size() + 8,
                 qPrintable(dialogs.asked[0]));
        QCOMPARE(table.count(), 2);
        QCOMPARE(table.currentText(), QString("monstate"));
        QCOMPARE(column.count(), 1);
        QCOMPARE(column.currentText(), QString("LockWaits"));
        QCOMPARE(tableDesc.toPlainText(), QString("table's"));
        QCOMPARE(columnDesc.toPlainText(), QString("column's"));
    }
};

QUINTARO_TEST(CatalogueFailureTest)
#include "CatalogueFailureTest.moc"
