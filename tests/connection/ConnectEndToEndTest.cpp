#include "ConnectWindow.h"
#include "ReadOnlyFile.h"
#include "SimulatedServers.h"
#include "TestRegistry.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>

namespace {

const QStringList aseTables{"monDataCache",          "monDeviceIO",        "monEngine", "monNetworkIO",
                            "monOpenObjectActivity", "monProcessActivity", "monState",  "monSysWaits"};
const QStringList dmObjects{"dm_exec_requests", "dm_exec_sessions", "dm_io_virtual_file_stats",
                            "dm_os_performance_counters", "dm_os_schedulers", "dm_os_wait_stats"};
const QString monTablesQuery =
    QStringLiteral("/**/\nselect TableName, Indicators&1 \"Ind\", Description\nfrom master..monTables\norder by 1");
const QString dmObjectsQuery = QStringLiteral(
    "/**/\nselect TableName=name , Description=type_desc\nfrom sys.all_objects\nwhere name like 'dm%'\norder by 1");

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray utf16WithBom(const QString &text)
{
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// Connect against the simulated servers: ASE through both providers (an odbc.ini DSN for
// MSDASQL.1, a freetds.conf entry for ASEOLEDB.1), SQL Server through a DSN.
class ConnectEndToEndTest : public QObject {
    Q_OBJECT

    QString startDir_ = QDir::currentPath();
    SimulatedServers servers_;
    SimServer &ase_ = servers_.ase;
    SimServer &msSql_ = servers_.msSql;
    const QString &aseDsn_ = servers_.aseDsn;
    const QString &aseServer_ = servers_.aseServer;
    const QString &msSqlDsn_ = servers_.msSqlDsn;
    const QString asePassword = SimulatedServers::asePassword;

private slots:
    void initTestCase() { QVERIFY(servers_.start()); }
    void cleanupTestCase() { servers_.stop(); }
    void cleanup() { QDir::setCurrent(startDir_); }

    // The password holds ";", which would end the value if it went into the string bare.
    void connectAse_data()
    {
        QTest::addColumn<bool>("odbcDsn");
        QTest::newRow("MSDASQL.1") << true;
        QTest::newRow("ASEOLEDB.1") << false;
    }
    void connectAse()
    {
        QFETCH(bool, odbcDsn);
        ConnectWindow w;
        const QString server = odbcDsn ? aseDsn_ : aseServer_;
        w.window->sbStatus->setPanelText(2, "old message");
        w.window->state.bAbort = true;
        const qsizetype mark = ase_.loggedBatches().size();
        w.connect(server, asePassword, odbcDsn);

        QCOMPARE(w.dialogs->asked, QStringList());
        QCOMPARE(w.panel(1), "Connected to " + server);
        QVERIFY2(QRegularExpression("^S: \\d+@" + server + "$").match(w.panel(0)).hasMatch(), qPrintable(w.panel(0)));
        QCOMPARE(w.panel(2), QString());
        QCOMPARE(w.panel(3), QString("SYBASE"));
        QVERIFY(w.window->state.bSybase);
        QVERIFY(!w.window->state.bAbort);
        QVERIFY(w.window->dblocal->connected());
        QCOMPARE(w.items(w.window->cbMonTable), aseTables);
        QCOMPARE(w.window->cbMonTable->currentText(), QString());
        QCOMPARE(batchesSince(ase_, mark),
                 QStringList({"/**/\nselect @@spid SPID", "/**/\nselect @@version_number VERS", monTablesQuery}));
        // The list file is created holding the one name.
        QCOMPARE(bytesOf(w.file("ServerList.ini")), server.toLocal8Bit() + "\r\n");
        QCOMPARE(w.items(w.window->edSRV), QStringList({server}));
        QCOMPARE(w.window->edSRV->currentText(), server);
    }

    void connectMsSql()
    {
        ConnectWindow w;
        w.window->meTableDesc->setPlainText("kept");
        const qsizetype mark = msSql_.loggedBatches().size();
        w.connect(msSqlDsn_, "any", true);

        QCOMPARE(w.dialogs->asked, QStringList());
        QCOMPARE(w.panel(1), "Connected to " + msSqlDsn_);
        QVERIFY(w.panel(0).startsWith("S: "));
        QCOMPARE(w.panel(2), QString());
        QCOMPARE(w.panel(3), QString());
        QVERIFY(!w.window->state.bSybase);
        QCOMPARE(w.items(w.window->cbMonTable), dmObjects);
        QCOMPARE(w.window->meTableDesc->toPlainText(), QString("kept"));
        QCOMPARE(batchesSince(msSql_, mark),
                 QStringList({"/**/\nselect @@spid SPID", "/**/\nselect @@version_number VERS", dmObjectsQuery}));
    }

    // A failed Connect reports itself and keeps what the last good one left.
    void connectFailure_data()
    {
        QTest::addColumn<bool>("serverDown");
        QTest::newRow("wrong password") << false;
        QTest::newRow("server down") << true;
    }
    void connectFailure()
    {
        QFETCH(bool, serverDown);
        SimServer own{{SimServer::Persona::Ase, QStringLiteral("right"), {}, false}};
        QVERIFY(own.start());
        const QString dsn = OdbcSandbox::uniqueDsnName(QStringLiteral("OwnDsn"));
        servers_.sandbox->addDsn(dsn, own.port(), QStringLiteral("5.0"));
        ConnectWindow w;
        w.connect(dsn, "right", true);
        QCOMPARE(w.dialogs->asked, QStringList());
        const QString spidPanel = w.panel(0);
        w.window->cbMonTable->setEditText("monState");
        w.settle();
        w.window->sbStatus->setPanelText(1, "clock");
        const QByteArray serverList = bytesOf(w.file("ServerList.ini"));

        if (serverDown)
            own.stop();
        const qsizetype mark = own.loggedBatches().size();
        w.connect(dsn, serverDown ? "right" : "wrong", true);

        QCOMPARE(w.dialogs->asked.size(), 1);
        const QString prefix = QStringLiteral("error: Exception in GetMonTables\n");
        QVERIFY2(w.dialogs->asked[0].startsWith(prefix) && w.dialogs->asked[0].size() > prefix.size(),
                 qPrintable(w.dialogs->asked[0]));
        QCOMPARE(w.panel(2), QString("Sampling Stopped Due to Exception..."));
        QCOMPARE(w.panel(0), spidPanel);
        QCOMPARE(w.panel(1), QString("clock"));
        QCOMPARE(w.panel(3), QString("SYBASE"));
        QVERIFY(w.window->state.bSybase);
        QVERIFY(!w.window->dblocal->connected());
        QCOMPARE(w.items(w.window->cbMonTable), aseTables);
        QCOMPARE(w.window->cbMonTable->currentText(), QString("monState"));
        QCOMPARE(bytesOf(w.file("ServerList.ini")), serverList);
        QCOMPARE(batchesSince(own, mark), QStringList());

        // Test does nothing at all while the shared connection is closed.
        w.window->reSQL->setPlainText("select 1");
        w.window->sbStatus->setPanelText(2, "untouched");
        w.window->bbtSample->click();
        w.settle();
        QCOMPARE(w.panel(2), QString("untouched"));
        QCOMPARE(w.window->reSQL->toPlainText(), QString("select 1"));
        QVERIFY(!w.window->cbCustom->isChecked());
        QCOMPARE(w.window->sgTest->rowCount(), 2);
        QCOMPARE(w.dialogs->asked.size(), 1);
    }

    void serverListKeptAsFound_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QByteArray>("after"); // empty: unchanged
        QTest::addColumn<QStringList>("listed");
        const QString listed = QStringLiteral("Büro\r\n%1\r\n").arg(aseServer_.toLower());
        QTest::newRow("listed in another case") << QByteArray(listed.toUtf8()) << false << QByteArray()
                                                << QStringList();
        QTest::newRow("UTF-16 with BOM") << utf16WithBom("Büro\r\n") << false
                                         << utf16WithBom("Büro\r\n" + aseServer_ + "\r\n")
                                         << QStringList({"Büro", aseServer_});
        QTest::newRow("read-only") << QByteArray("Büro\r\n") << true << QByteArray() << QStringList();
    }
    void serverListKeptAsFound()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, readOnly);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, listed);
        ConnectWindow w;
        const QString path = w.file("ServerList.ini");
        if (readOnly)
            QVERIFY(makeReadOnlyFile(path, before));
        else
            writeBytes(path, before);
        const QByteArray found = bytesOf(path);
        w.window->edSRV->addItem("shown before");
        w.connect(aseServer_, asePassword, false);

        QCOMPARE(w.dialogs->asked, QStringList());
        QCOMPARE(w.items(w.window->cbMonTable), aseTables);
        QCOMPARE(bytesOf(path), after.isEmpty() ? found : after);
        QCOMPARE(w.items(w.window->edSRV), listed.isEmpty() ? QStringList({"shown before"}) : listed);
        QCOMPARE(w.window->edSRV->currentText(), aseServer_);
    }

    void providerBoxesStayPaired()
    {
        ConnectWindow w;
        QCheckBox *oledb = w.window->cbOLEDB;
        QCheckBox *odbc = w.window->cbODBC;
        QVERIFY(odbc->isChecked() && !oledb->isChecked());
        odbc->click();
        QVERIFY(!odbc->isChecked() && oledb->isChecked());
        oledb->click();
        QVERIFY(odbc->isChecked() && !oledb->isChecked());
        oledb->click();
        QVERIFY(!odbc->isChecked() && oledb->isChecked());
        oledb->click();
        QVERIFY(odbc->isChecked() && !oledb->isChecked());
    }
};

QUINTARO_TEST(ConnectEndToEndTest)
#include "ConnectEndToEndTest.moc"
