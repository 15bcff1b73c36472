#include "FileError.h"
#include "TestRegistry.h"
#include "TextFile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

Q_DECLARE_METATYPE(TextEncoding)

namespace {

QByteArray encoded(QStringConverter::Encoding encoding, const QString &text)
{
    return QStringEncoder(encoding)(text);
}

const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray utf16LeBom("\xFF\xFE");
const QByteArray utf16BeBom("\xFE\xFF");
const QString accented = QStringLiteral("Grüße, café ñ €");

} // namespace

class TextFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString fileWith(const QByteArray &bytes)
    {
        const QString name = m_dir.filePath(QStringLiteral("file.txt"));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot prepare %s", qPrintable(name));
        return name;
    }

    static QByteArray bytesOf(const QString &name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<TextEncoding>("encoding");
        const QString text = accented + "\r\nsecond\r\n";
        const QStringList lines{accented, "second"};
        QTest::newRow("no mark: system encoding")
            << encoded(QStringConverter::System, text) << lines << TextEncoding::System;
        QTest::newRow("UTF-8 mark") << utf8Bom + encoded(QStringConverter::Utf8, text) << lines
                                    << TextEncoding::Utf8Bom;
        QTest::newRow("UTF-16 LE mark") << utf16LeBom + encoded(QStringConverter::Utf16LE, text)
                                        << lines << TextEncoding::Utf16LeBom;
        QTest::newRow("UTF-16 BE mark") << utf16BeBom + encoded(QStringConverter::Utf16BE, text)
                                        << lines << TextEncoding::Utf16BeBom;
        QTest::newRow("empty file") << QByteArray() << QStringList() << TextEncoding::System;
        QTest::newRow("mark only") << utf16LeBom << QStringList() << TextEncoding::Utf16LeBom;
        QTest::newRow("a second mark is text")
            << utf8Bom + utf8Bom + "x" << QStringList{QString(QChar(0xFEFF)) + "x"}
            << TextEncoding::Utf8Bom;
        QTest::newRow("CR LF, LF and lone CR mixed")
            << QByteArray("a\r\nb\nc\rd\r\n") << QStringList{"a", "b", "c", "d"} << TextEncoding::System;
        QTest::newRow("LF then CR is two ends")
            << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << TextEncoding::System;
        QTest::newRow("blank lines kept")
            << QByteArray("\r\n\r\na\n\n") << QStringList{"", "", "a", ""} << TextEncoding::System;
        QTest::newRow("final line without end")
            << QByteArray("a\r\nlast") << QStringList{"a", "last"} << TextEncoding::System;
        QTest::newRow("UTF-16 BE with LF and CR")
            << utf16BeBom + encoded(QStringConverter::Utf16BE, "x\ny\rz") << QStringList{"x", "y", "z"}
            << TextEncoding::Utf16BeBom;
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(TextEncoding, encoding);
        const TextFile::Content content = TextFile::read(fileWith(bytes));
        QCOMPARE(content.lines, lines);
        QCOMPARE(content.encoding, encoding);
    }

    // Rewriting what was read keeps the file byte for byte when it already had CR LF ends.
    void rewriteKeepsEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("rewritten");
        const QString text = "server1\r\n" + accented + "\r\n";
        const QByteArray system = encoded(QStringConverter::System, text);
        const QByteArray utf8 = utf8Bom + encoded(QStringConverter::Utf8, text);
        const QByteArray le = utf16LeBom + encoded(QStringConverter::Utf16LE, text);
        const QByteArray be = utf16BeBom + encoded(QStringConverter::Utf16BE, text);
        QTest::newRow("system") << system << system;
        QTest::newRow("UTF-8 mark") << utf8 << utf8;
        QTest::newRow("UTF-16 LE mark") << le << le;
        QTest::newRow("UTF-16 BE mark") << be << be;
        QTest::newRow("mark only") << utf16BeBom << utf16BeBom;
        QTest::newRow("LF ends become CR LF") << QByteArray("a\nb") << QByteArray("a\r\nb\r\n");
    }
    void rewriteKeepsEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, rewritten);
        const QString name = fileWith(bytes);
        const TextFile::Content content = TextFile::read(name);
        TextFile::write(name, content.lines, content.encoding);
        QCOMPARE(bytesOf(name), rewritten);
    }

    // Bytes the system encoding cannot read (a legacy 8-bit file) stay in the lines written back
    // as they were read; lines the program changed or added are written as they now read.
    void untouchedLinesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines"); // the read lines changed as the row says; empty: unchanged
        QTest::addColumn<QByteArray>("rewritten");
        const QString unread = TextFile::read(fileWith("Caf\xE9")).lines.value(0);
        const QByteArray legacy("Caf\xE9\r\nplain\r\n");
        QTest::newRow("written back as read") << legacy << QStringList() << legacy;
        QTest::newRow("a line added")
            << legacy << QStringList{unread, "plain", accented}
            << legacy + encoded(QStringConverter::System, accented + "\r\n");
        QTest::newRow("lines reordered") << legacy << QStringList{"plain", unread}
                                         << QByteArray("plain\r\nCaf\xE9\r\n");
        QTest::newRow("two lines read alike keep their own bytes")
            << QByteArray("Caf\xE9\nCaf\xE8\n") << QStringList() << QByteArray("Caf\xE9\r\nCaf\xE8\r\n");
        QTest::newRow("a changed line is written as it reads")
            << legacy << QStringList{unread + "!", "plain"}
            << encoded(QStringConverter::System, unread + "!\r\nplain\r\n");
    }
    void untouchedLinesKeepTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, rewritten);
        const QString name = fileWith(bytes);
        const TextFile::Content content = TextFile::read(name);
        TextFile::write(name, lines.isEmpty() ? content.lines : lines, content.encoding);
        QCOMPARE(bytesOf(name), rewritten);
    }

    void writeNewFileInSystemEncoding()
    {
        const QString name = fileWith(QByteArray(1000, 'x'));
        TextFile::write(name, {"one", accented, ""});
        QCOMPARE(bytesOf(name), encoded(QStringConverter::System, "one\r\n" + accented + "\r\n\r\n"));
        TextFile::write(name, {});
        QCOMPARE(bytesOf(name), QByteArray());
    }

    void readMissingFileNamesFileAndReason()
    {
        const QString name = m_dir.filePath(QStringLiteral("missing.ini"));
        try {
            TextFile::read(name);
            QFAIL("no error raised");
        } catch (const FileError &error) {
            QCOMPARE(error.fileName(), name);
            QVERIFY(!error.reason().isEmpty());
            const QString message = QString::fromUtf8(error.what());
            QVERIFY2(message.contains(name) && message.contains(error.reason()), qPrintable(message));
        }
    }

    void writeToUnwritableTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("inside a missing folder") << QStringLiteral("missing/file.ini");
        QTest::newRow("read-only file") << QStringLiteral("readonly.ini");
    }
    void writeToUnwritableTarget()
    {
        QFETCH(QString, target);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
        const QString name = m_dir.filePath(target);
        if (target == QLatin1String("readonly.ini")) {
            if (geteuid() == 0)
                QSKIP("permissions do not bind the superuser");
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
        }
        QVERIFY_THROWS_EXCEPTION(FileError, TextFile::write(name, {"x"}));
        try {
            TextFile::write(name, {"x"});
        } catch (const FileError &error) {
            QVERIFY(QString::fromUtf8(error.what()).contains(name));
        }
    }
};

QUINTARO_TEST(TextFileTest)
#include "TextFileTest.moc"
