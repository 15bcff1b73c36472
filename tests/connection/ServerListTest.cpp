#include "FileError.h"
#include "ReadOnlyFile.h"
#include "ServerList.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray encoded(const QString &text, QStringConverter::Encoding encoding, bool withBom)
{
    QStringEncoder encoder(encoding, withBom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ServerListTest : public QObject {
    Q_OBJECT
private slots:
    void appendKeepsEncoding_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("withBom");
        QTest::newRow("system encoding") << int(QStringConverter::System) << false;
        QTest::newRow("UTF-8 with BOM") << int(QStringConverter::Utf8) << true;
        QTest::newRow("UTF-16 LE with BOM") << int(QStringConverter::Utf16LE) << true;
        QTest::newRow("UTF-16 BE with BOM") << int(QStringConverter::Utf16BE) << true;
    }
    void appendKeepsEncoding()
    {
        QFETCH(int, encoding);
        QFETCH(bool, withBom);
        const auto converter = QStringConverter::Encoding(encoding);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("ServerList.ini");
        // A last line without its line end gets one when the file is written back.
        writeBytes(path, encoded("ASE_PROD\r\nSrv-Zürich", converter, withBom));
        QStringList scratch{"stale"};
        QVERIFY(ServerList::remember(path, "Büro_ASE", scratch));
        QCOMPARE(scratch, QStringList({"ASE_PROD", "Srv-Zürich", "Büro_ASE"}));
        QCOMPARE(bytesOf(path), encoded("ASE_PROD\r\nSrv-Zürich\r\nBüro_ASE\r\n", converter, withBom));
    }

    void listedInOtherCaseLeavesFileAlone()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("ServerList.ini");
        const QByteArray bytes("ase_prod\nother\n");
        writeBytes(path, bytes);
        QStringList scratch;
        QVERIFY(!ServerList::remember(path, "ASE_Prod", scratch));
        QCOMPARE(bytesOf(path), bytes);
        QCOMPARE(scratch, QStringList({"ase_prod", "other"}));
    }

    void legacyBytesSurviveAnAppend()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("ServerList.ini");
        // Latin-1 bytes, which a UTF-8 system cannot read.
        const QByteArray legacy("Caf\xE9\r\nASE_PROD\r\n");
        writeBytes(path, legacy);
        QStringList scratch;
        QVERIFY(ServerList::remember(path, "Büro_ASE", scratch));
        QCOMPARE(bytesOf(path), legacy + encoded("Büro_ASE\r\n", QStringConverter::System, false));
    }

    void missingFileIsCreated()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("ServerList.ini");
        QStringList scratch{"stale"};
        QVERIFY(ServerList::remember(path, "Srv-Zürich", scratch));
        QCOMPARE(bytesOf(path), encoded("Srv-Zürich\r\n", QStringConverter::System, false));
        QCOMPARE(ServerList::load(path), QStringList({"Srv-Zürich"}));
    }

    void readOnlyFileRaises()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("ServerList.ini");
        QVERIFY(makeReadOnlyFile(path, "ASE_PROD\r\n"));
        const QByteArray before = bytesOf(path);
        QStringList scratch;
        QVERIFY_THROWS_EXCEPTION(FileError, ServerList::remember(path, "other", scratch));
        QCOMPARE(bytesOf(path), before);
    }
};

QUINTARO_TEST(ServerListTest)
#include "ServerListTest.moc"
