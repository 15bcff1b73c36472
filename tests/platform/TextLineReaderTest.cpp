#include "FileError.h"
#include "TestRegistry.h"
#include "TextLineReader.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

class TextLineReaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void readLines_data()
    {
        // The reader works in blocks of 64 KiB; these cases put a line end or a character
        // across the boundary between two blocks.
        const qsizetype block = 1 << 16;
        const QString filler(block - 1, u'x');
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("mixed ends") << "a\r\nb\nc" << QStringList{"a", "b", "c"};
        // Only LF ends a line: a CR inside one stays in it.
        QTest::newRow("lone CR inside a line") << "a\rb\r\nc\r\r\nd" << QStringList{"a\rb", "c\r", "d"};
        QTest::newRow("blank lines, final end") << "\r\n\nz\r\n" << QStringList{"", "", "z"};
        QTest::newRow("CR LF across blocks") << filler + "\r\nnext" << QStringList{filler, "next"};
        QTest::newRow("lone CR at block end") << filler + "\rnext" << QStringList{filler + "\rnext"};
        QTest::newRow("CR ends the file at block end") << filler + "\r" << QStringList{filler};
        QTest::newRow("character across blocks")
            << filler + "ü\nend" << QStringList{filler + "ü", "end"};
        QTest::newRow("line longer than a block")
            << "a\n" + filler + filler + "\r\nb" << QStringList{"a", filler + filler, "b"};
    }
    void readLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        const QString name = m_dir.filePath(QStringLiteral("lines.txt"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringEncoder(QStringConverter::System)(text));
        file.close();

        TextLineReader reader(name);
        QStringList read;
        QString line;
        while (reader.readLine(line))
            read.append(line);
        QCOMPARE(read, lines);
        QVERIFY(!reader.readLine(line));
    }

    void missingFile()
    {
        const QString name = m_dir.filePath(QStringLiteral("none.sql"));
        QVERIFY_THROWS_EXCEPTION(FileError, TextLineReader{name});
    }
};

QUINTARO_TEST(TextLineReaderTest)
#include "TextLineReaderTest.moc"
