#include "ConnectWindow.h"
#include "ShownMessage.h"
#include "SimulatedServers.h"
#include "TStringGrid.h"
#include "TConnection.h"
#include "TQuery.h"
#include "TestRegistry.h"

#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString monStateDescription = QStringLiteral("Provides information regarding the overall state of Adaptive Server");

QString aseTableStatements(const QString &typed)
{
    return QStringLiteral("/**/\nselect Description\nfrom master..monTables\nwhere TableName = \"%1\"").arg(typed);
}

QString aseColumnListStatement(const QString &typed)
{
    return QStringLiteral("/**/\nselect ColumnName\nfrom master..monTableColumns\nwhere TableName = \"%1\"\norder by 1")
        .arg(typed);
}

QStringList gridRow(const TStringGrid *grid, int row)
{
    QStringList cells;
    for (int col = 0; col < grid->colCount(); ++col)
        cells << grid->cells(col, row);
    return cells;
}

} // namespace

// Browsing the catalogue and Test on connected windows, against the simulated servers.
class CatalogueEndToEndTest : public QObject {
    Q_OBJECT

    QString startDir_ = QDir::currentPath();
    SimulatedServers servers_;

    std::unique_ptr<ConnectWindow> connectedToAse()
    {
        auto w = std::make_unique<ConnectWindow>();
        w->connect(servers_.aseDsn, SimulatedServers::asePassword, true);
        return w;
    }

private slots:
    void initTestCase() { QVERIFY(servers_.start()); }
    void cleanupTestCase() { servers_.stop(); }
    void cleanup() { QDir::setCurrent(startDir_); }

    // Typed text counts once it matches a list entry in any case, and goes into the statements as typed.
    void aseTableTypedPartlyThenInOtherCase()
    {
        const auto w = connectedToAse();
        QComboBox *table = w->window->cbMonTable;
        qsizetype mark = servers_.ase.loggedBatches().size();
        table->setFocus();
        QTest::keyClicks(table, "monsta");
        w->settle();
        QCOMPARE(batchesSince(servers_.ase, mark), QStringList());
        QTest::keyClicks(table, "te");
        w->settle();
        QCOMPARE(table->currentText(), QString("monstate"));
        QCOMPARE(batchesSince(servers_.ase, mark),
                 QStringList({aseTableStatements("monstate"), aseColumnListStatement("monstate")}));
        QCOMPARE(w->window->meTableDesc->toPlainText(), monStateDescription);
        const QStringList columns = w->items(w->window->cbMonColumn);
        QCOMPARE(columns.size(), 25);
        QCOMPARE(columns.first(), QString("CheckPoints"));
        QVERIFY(columns.contains("LockWaits"));
        QCOMPARE(w->window->cbMonColumn->currentText(), QString());

        mark = servers_.ase.loggedBatches().size();
        w->window->cbMonColumn->setEditText("lockwaits");
        w->settle();
        QCOMPARE(batchesSince(servers_.ase, mark),
                 QStringList({"/**/\nselect Description\nfrom master..monTableColumns\nwhere TableName = \"monstate\"\n"
                              "and ColumnName = \"lockwaits\""}));
        QCOMPARE(w->window->meColumnDesc->toPlainText(),
                 QString("Number of processes that have waited longer than LockWaitThreshold seconds"));
        QCOMPARE(w->dialogs->asked, QStringList());

        // Typing in the server box asks for the chosen table's description and columns again.
        mark = servers_.ase.loggedBatches().size();
        QTest::keyClicks(w->window->edSRV, "x");
        w->settle();
        QCOMPARE(batchesSince(servers_.ase, mark),
                 QStringList({aseTableStatements("monstate"), aseColumnListStatement("monstate")}));
    }

    // A column chosen for one table stays in the box and counts for the next table that has it.
    void columnChoiceSurvivesTableChange()
    {
        const auto w = connectedToAse();
        w->window->cbMonTable->setEditText("monEngine");
        w->settle();
        w->window->cbMonColumn->setEditText("Connections");
        w->settle();
        w->window->meColumnDesc->setPlainText("engine's");
        const qsizetype mark = servers_.ase.loggedBatches().size();
        w->window->cbMonTable->setEditText("monState");
        w->settle();
        QCOMPARE(w->window->cbMonColumn->currentText(), QString("Connections"));
        QCOMPARE(batchesSince(servers_.ase, mark).size(), 2);
        QVERIFY(w->items(w->window->cbMonColumn).contains("Connections"));
        // The column box's text did not change, so its description is not asked for.
        QCOMPARE(w->window->meColumnDesc->toPlainText(), QString("engine's"));
    }

    void msSqlCatalogue()
    {
        ConnectWindow w;
        w.connect(servers_.msSqlDsn, "any", true);
        w.window->meColumnDesc->setPlainText("kept");
        qsizetype mark = servers_.msSql.loggedBatches().size();
        w.window->cbMonTable->setEditText("DM_OS_WAIT_STATS");
        w.settle();
        QCOMPARE(batchesSince(servers_.msSql, mark),
                 QStringList({"/**/\nselect Description=type_desc\nfrom sys.all_objects\nwhere name = 'DM_OS_WAIT_STATS'",
                              "/**/\nselect a.name as ColumnName\nfrom sys.all_columns a, sys.all_objects b\n"
                              "where a.object_id = b.object_id\nand b.name = 'DM_OS_WAIT_STATS'\norder by 1"}));
        QCOMPARE(w.window->meTableDesc->toPlainText(), QString("VIEW"));
        QCOMPARE(w.items(w.window->cbMonColumn), QStringList({"max_wait_time_ms", "signal_wait_time_ms",
                                                               "wait_time_ms", "wait_type", "waiting_tasks_count"}));
        // SQL Server has no column descriptions to fetch.
        mark = servers_.msSql.loggedBatches().size();
        w.window->cbMonColumn->setEditText("wait_type");
        w.settle();
        QCOMPARE(batchesSince(servers_.msSql, mark), QStringList());
        QCOMPARE(w.window->meColumnDesc->toPlainText(), QString("kept"));
        QCOMPARE(w.dialogs->asked, QStringList());
    }

    // With the connection lost, the table's own description query fails first and is the one reported.
    void lostConnectionReportedByTableChange()
    {
        SimServer own{{SimServer::Persona::Ase, {}, {}, false}};
        QVERIFY(own.start());
        const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("LostDsn"));
        servers_.sandbox->addDsn(dsn, own.port(), QStringLiteral("5.0"));
        ConnectWindow w;
        w.connect(dsn, "any", true);
        w.window->cbMonTable->setEditText("monState");
        w.settle();
        w.window->meTableDesc->setPlainText("kept");
        const QStringList columns = w.items(w.window->cbMonColumn);
        own.kill();
        QTest::keyClicks(w.window->edSRV, "x");
        w.settle();
        QCOMPARE(w.dialogs->asked.size(), 1);
        QVERIFY2(w.dialogs->asked[0].startsWith("error: Exception in cbMonTableChange\n"), qPrintable(w.dialogs->asked[0]));
        QCOMPARE(w.panel(2), QString("Sampling Stopped Due to Exception..."));
        QCOMPARE(w.window->meTableDesc->toPlainText(), QString("kept"));
        QCOMPARE(w.items(w.window->cbMonColumn), columns);
    }

    // Names planted in the server's own catalogue stay inside their literals: the quote is
    // doubled, the statements are exactly these, and the catalogue is whole afterwards.
    void plantedNamesStayInTheirLiterals_data()
    {
        QTest::addColumn<bool>("ase");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("plant");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("expected");
        const QString aseTable = QStringLiteral("monX\"; delete from master..monTableColumns where \"1\"=\"1");
        const QString aseLiteral = QStringLiteral("\"monX\"\"; delete from master..monTableColumns where \"\"1\"\"=\"\"1\"");
        QTest::newRow("ASE")
            << true << aseTable << QStringLiteral("Col\"x")
            << QStringList{QStringLiteral("insert into master..monTables (TableID, TableName, Description) "
                                          "values (99, 'monX\"; delete from master..monTableColumns where \"1\"=\"1', "
                                          "'planted')"),
                           QStringLiteral("insert into master..monTableColumns (TableID, TableName, ColumnName, "
                                          "Description) values (99, 'monX\"; delete from master..monTableColumns "
                                          "where \"1\"=\"1', 'Col\"x', 'planted column')")}
            << QStringLiteral("select count(*) as v from master..monTableColumns")
            << QStringList{QStringLiteral("/**/\nselect Description\nfrom master..monTables\nwhere TableName = ")
                               + aseLiteral,
                           QStringLiteral("/**/\nselect ColumnName\nfrom master..monTableColumns\nwhere TableName = ")
                               + aseLiteral + QStringLiteral("\norder by 1"),
                           QStringLiteral("/**/\nselect Description\nfrom master..monTableColumns\nwhere TableName = ")
                               + aseLiteral + QStringLiteral("\nand ColumnName = \"Col\"\"x\"")};
        const QString msLiteral = QStringLiteral("'dmX''; delete from sys.all_columns where ''1''=''1'");
        QTest::newRow("SQL Server")
            << false << QStringLiteral("dmX'; delete from sys.all_columns where '1'='1") << QStringLiteral("c'x")
            << QStringList{QStringLiteral("insert into sys.all_objects (name, object_id, type_desc) values ("
                                          "'dmX''; delete from sys.all_columns where ''1''=''1', 99, 'planted')"),
                           QStringLiteral("insert into sys.all_columns (object_id, name) values (99, 'c''x')")}
            << QStringLiteral("select count(*) as v from sys.all_columns")
            << QStringList{QStringLiteral("/**/\nselect Description=type_desc\nfrom sys.all_objects\nwhere name = ")
                               + msLiteral,
                           QStringLiteral("/**/\nselect a.name as ColumnName\nfrom sys.all_columns a, sys.all_objects b\n"
                                          "where a.object_id = b.object_id\nand b.name = ")
                               + msLiteral + QStringLiteral("\norder by 1")};
    }
    void plantedNamesStayInTheirLiterals()
    {
        QFETCH(bool, ase);
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QStringList, plant);
        QFETCH(QString, count);
        QFETCH(QStringList, expected);
        SimServer own{{ase ? SimServer::Persona::Ase : SimServer::Persona::MsSql, {}, {}, false}};
        QVERIFY(own.start());
        const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("PlantedDsn"));
        servers_.sandbox->addDsn(dsn, own.port(), ase ? QStringLiteral("5.0") : QStringLiteral("7.4"));

        TConnection planter;
        planter.setConnectionString(
            QStringLiteral("Provider=MSDASQL.1;User ID=sa;Password=pw;Data Source=%1;Initial Catalog=master").arg(dsn));
        TQuery query(planter);
        const auto countColumns = [&query, &count] {
            query.close();
            query.clear();
            query.add(count);
            query.open();
            return query.fieldByName(QStringLiteral("v"));
        };
        for (const QString &statement : plant) {
            query.clear();
            query.add(statement);
            query.execSQL();
        }
        const QString columnsBefore = countColumns();
        query.close();

        ConnectWindow w;
        w.connect(dsn, "pw", true);
        const qsizetype mark = own.loggedBatches().size();
        w.window->cbMonTable->setEditText(table);
        w.settle();
        QCOMPARE(w.window->meTableDesc->toPlainText(), QString("planted"));
        QCOMPARE(w.items(w.window->cbMonColumn), QStringList{column});
        w.window->cbMonColumn->setEditText(column);
        w.settle();
        if (ase)
            QCOMPARE(w.window->meColumnDesc->toPlainText(), QString("planted column"));
        QCOMPARE(batchesSince(own, mark), expected);
        QCOMPARE(w.dialogs->asked, QStringList());
        QCOMPARE(countColumns(), columnsBefore);
        query.close();
    }

    void composedForEachAggregate_data()
    {
        QTest::addColumn<int>("aggregate");
        QTest::addColumn<QString>("expression");
        QTest::newRow("NA") << 0 << "LockCount";
        QTest::newRow("AVG") << 1 << "LockCount=avg(LockCount)";
        QTest::newRow("MAX") << 2 << "LockCount=max(LockCount)";
        QTest::newRow("MIN") << 3 << "LockCount=min(LockCount)";
        QTest::newRow("CNT") << 4 << "LockCount=count(*)";
        QTest::newRow("SUM") << 5 << "LockCount=sum(LockCount)";
    }
    void composedForEachAggregate()
    {
        QFETCH(int, aggregate);
        QFETCH(QString, expression);
        const auto w = connectedToAse();
        w->window->cbMonTable->setEditText("monState");
        w->settle();
        w->window->cbMonColumn->setEditText("lockcount");
        w->settle();
        w->window->rgGRP->setItemIndex(aggregate);
        w->window->reSQL->setPlainText("where 1 = 1");
        w->window->sbStatus->setPanelText(2, "old");
        w->window->state.bAbort = true;
        const qsizetype mark = servers_.ase.loggedBatches().size();
        w->window->bbtSample->click();
        w->settle();

        const QString composed = "select " + expression.replace("LockCount", "lockcount")
                                 + " from master..monState where 1 = 1";
        QCOMPARE(w->window->reSQL->toPlainText(), composed);
        QVERIFY(w->window->cbCustom->isChecked());
        QCOMPARE(batchesSince(servers_.ase, mark), QStringList({"/**/\n" + composed}));
        QCOMPARE(w->panel(2), QString());
        QVERIFY(!w->window->state.bAbort);
        QCOMPARE(w->scratch, QStringList());
        const TStringGrid *grid = w->window->sgTest;
        QCOMPARE(grid->colCount(), 1);
        QCOMPARE(grid->rowCount(), 3);
        // A bare column keeps the table's spelling, an aggregate is named as typed.
        QCOMPARE(grid->cells(0, 0), aggregate == 0 ? QString("LockCount") : QString("lockcount"));
        bool number = false;
        const int value = grid->cells(0, 1).toInt(&number);
        QVERIFY2(number, qPrintable(grid->cells(0, 1)));
        if (aggregate == 4)
            QCOMPARE(value, 1);
        QCOMPARE(grid->cells(0, 2), QString());
        // The new empty last row is the selected one; the user may size and move columns.
        QCOMPARE(grid->row(), 2);
        const auto options = TStringGrid::RowSelect | TStringGrid::ColSizing | TStringGrid::ColMoving;
        QCOMPARE(grid->options() & options, options);
    }

    // Test runs the query box's own text: ticked, nothing chosen to compose from, or a rerun.
    void runsQueryBoxText_data()
    {
        QTest::addColumn<bool>("custom");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("custom") << true << "LockWaits" << "select one=1, two='zwei'\n, 3 three"
                                << QStringList({"one", "two", "three"})
                                << QList<QStringList>({{"1", "zwei", "3"}});
        QTest::newRow("no column chosen") << false << "Lock"
                                          << "select TableName from master..monTables where TableName like 'monS%'"
                                          << QStringList({"TableName"})
                                          << QList<QStringList>({{"monState"}, {"monSysWaits"}});
        QTest::newRow("empty result") << true << ""
                                      << "select TableName, Description from master..monTables where 1 = 0"
                                      << QStringList({"TableName", "Description"}) << QList<QStringList>();
        QTest::newRow("unnamed column") << true << "" << "select 1+1" << QStringList({"COLUMN1"})
                                        << QList<QStringList>({{"2"}});
    }
    void runsQueryBoxText()
    {
        QFETCH(bool, custom);
        QFETCH(QString, column);
        QFETCH(QString, sql);
        QFETCH(QStringList, titles);
        QFETCH(QList<QStringList>, rows);
        const auto w = connectedToAse();
        w->window->cbMonTable->setEditText("monState");
        w->settle();
        w->window->cbMonColumn->setEditText(column);
        w->settle();
        w->window->cbCustom->setChecked(custom);
        w->window->reSQL->setPlainText(sql);
        // A wider grid from an earlier Test is emptied first.
        w->window->sgTest->setColCount(4);
        w->window->sgTest->setRowCount(5);
        w->window->sgTest->setCells(3, 4, "stale");
        for (int run = 1; run <= 2; ++run) {
            const qsizetype mark = servers_.ase.loggedBatches().size();
            w->window->bbtSample->click();
            w->settle();
            QCOMPARE(batchesSince(servers_.ase, mark), QStringList({"/**/\n" + sql}));
            QCOMPARE(w->window->reSQL->toPlainText(), sql);
            QCOMPARE(w->window->cbCustom->isChecked(), custom);
            const TStringGrid *grid = w->window->sgTest;
            QCOMPARE(grid->colCount(), titles.size());
            QCOMPARE(grid->rowCount(), rows.size() + 2);
            QCOMPARE(gridRow(grid, 0), titles);
            for (int row = 0; row < rows.size(); ++row)
                QCOMPARE(gridRow(grid, row + 1), rows[row]);
            QCOMPARE(gridRow(grid, grid->rowCount() - 1), QStringList(titles.size(), QString()));
            QCOMPARE(w->panel(2), QString());
        }
    }

    // After a Test the box holds the query; unticked again, that query becomes the next one's filter.
    void composedQueryReusedAsFilter()
    {
        const auto w = connectedToAse();
        w->window->cbMonTable->setEditText("monSysWaits");
        w->settle();
        w->window->cbMonColumn->setEditText("Waits");
        w->settle();
        w->window->rgGRP->setItemIndex(4);
        w->window->bbtSample->click();
        w->settle();
        const QString first = "select Waits=count(*) from master..monSysWaits ";
        QCOMPARE(w->window->reSQL->toPlainText(), first);
        QCOMPARE(w->window->sgTest->cells(0, 1), QString("7"));
        w->window->cbCustom->setChecked(false);
        w->window->rgGRP->setItemIndex(0);
        const qsizetype mark = servers_.ase.loggedBatches().size();
        w->window->bbtSample->click();
        w->settle();
        const QString second = "select Waits from master..monSysWaits " + first;
        QCOMPARE(w->window->reSQL->toPlainText(), second);
        QVERIFY(w->window->cbCustom->isChecked());
        QCOMPARE(batchesSince(servers_.ase, mark), QStringList({"/**/\n" + second}));
        // Two statements in one batch: the grid shows the first one's rows.
        QCOMPARE(w->panel(2), QString());
        QCOMPARE(w->window->sgTest->cells(0, 0), QString("Waits"));
        QCOMPARE(w->window->sgTest->rowCount(), 9);
    }

    // Test's failures go to panel 2 in the server's words, cut to a readable length; the rows
    // read before an error after the first result stay in the grid.
    void serverErrorInMessagePanel_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("firstCell");
        QTest::addColumn<int>("gridRows");
        QTest::newRow("unknown column") << "select NoSuchColumn from master..monState" << "NoSuchColumn" << "" << 2;
        QTest::newRow("error after the first result")
            << "select 5 as v\nselect * from master..monNoSuchTable" << "monNoSuchTable" << "5" << 3;
        QTest::newRow("huge value in the message") << "select '" + QString(1 << 20, u'x') << QString() << "" << 2;
        QTest::newRow("huge quoted name in the message")
            << "select " + QString(20000, u'y') + " from master..monState"
            << "Invalid column name '" + QString(ShownMessage::quotedLimit, u'y') + QChar(0x2026) + "'" << "" << 2;
    }
    void serverErrorInMessagePanel()
    {
        QFETCH(QString, statement);
        QFETCH(QString, reported);
        QFETCH(QString, firstCell);
        QFETCH(int, gridRows);
        const auto w = connectedToAse();
        w->window->cbCustom->setChecked(true);
        w->window->reSQL->setPlainText(statement);
        w->window->bbtSample->click();
        w->settle();
        const QString prefix = QStringLiteral("Exception in Test SQL...");
        const QString panel = w->panel(2);
        QVERIFY2(panel.startsWith(prefix) && panel.size() > prefix.size() && panel[prefix.size()] != u' ',
                 qPrintable(panel.left(300)));
        QVERIFY2(panel.contains(reported), qPrintable(panel.left(400)));
        QVERIFY2(panel.size() <= ShownMessage::messageLimit + 30, qPrintable(QString::number(panel.size())));
        QCOMPARE(w->dialogs->asked, QStringList());
        QCOMPARE(w->window->sgTest->rowCount(), gridRows);
        QCOMPARE(w->window->sgTest->cells(0, 1), firstCell);
        QCOMPARE(w->window->reSQL->toPlainText(), statement);
    }
};

QUINTARO_TEST(CatalogueEndToEndTest)
#include "CatalogueEndToEndTest.moc"
