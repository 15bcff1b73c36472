#include "LineList.h"
#include "TestRegistry.h"

#include <QTest>

namespace {

LineList listOf(const QStringList &lines)
{
    LineList list;
    for (const QString &line : lines)
        list << line;
    return list;
}

} // namespace

class LineListTest : public QObject {
    Q_OBJECT

private slots:
    void holdsTheLinesAppended_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("one") << QStringList{"10/12/2026 12:43:49"};
        QTest::newRow("empty lines first, between and last") << QStringList{"", "1", "", "", "2", ""};
        QTest::newRow("only an empty line") << QStringList{""};
        QTest::newRow("non-ASCII, with surrogate pairs")
            << QStringList{"Größe €", QString::fromUtf8("\xF0\x9F\x98\x80 x"), QString::fromUtf8("日本語"), "a"};
    }
    void holdsTheLinesAppended()
    {
        QFETCH(QStringList, lines);
        LineList list;
        for (const QString &line : lines)
            list.append(line);
        QCOMPARE(list.size(), lines.size());
        QCOMPARE(list.isEmpty(), lines.isEmpty());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(list.at(i).toString(), lines[i]);
            QCOMPARE(list[i].toString(), lines[i]);
        }
        if (!lines.isEmpty()) {
            QCOMPARE(list.first().toString(), lines.first());
            QCOMPARE(list.last().toString(), lines.last());
        }
        QCOMPARE(list.toStringList(), lines);
        QVERIFY(list == lines);
        QVERIFY(list == listOf(lines));

        list.clear();
        QVERIFY(list.isEmpty());
        QCOMPARE(list.storageBytes(), 0);
        QVERIFY(list == QStringList{});
        list << u"again";
        QCOMPARE(list.toStringList(), QStringList{"again"});
    }

    // The same characters cut into other lines are another list.
    void equality_data()
    {
        QTest::addColumn<QStringList>("a");
        QTest::addColumn<QStringList>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same lines") << QStringList{"ab", "", "c"} << QStringList{"ab", "", "c"} << true;
        QTest::newRow("both empty") << QStringList{} << QStringList{} << true;
        QTest::newRow("cut elsewhere") << QStringList{"ab", "c"} << QStringList{"a", "bc"} << false;
        QTest::newRow("empty line moved") << QStringList{"", "a"} << QStringList{"a", ""} << false;
        QTest::newRow("one more empty line") << QStringList{"a"} << QStringList{"a", ""} << false;
        QTest::newRow("an empty line against none") << QStringList{""} << QStringList{} << false;
        QTest::newRow("one character differs") << QStringList{"12", "34"} << QStringList{"12", "35"} << false;
    }
    void equality()
    {
        QFETCH(QStringList, a);
        QFETCH(QStringList, b);
        QFETCH(bool, equal);
        QCOMPARE(listOf(a) == listOf(b), equal);
        QCOMPARE(listOf(b) == listOf(a), equal);
        QCOMPARE(listOf(a) == b, equal);
        QCOMPARE(listOf(b) == a, equal);
    }

    // A view of the list's own last line, appended while the buffer moves as it grows.
    void appendsItsOwnLine()
    {
        LineList list;
        list << u"12:43:49";
        for (int i = 0; i < 2000; ++i)
            list << list.last();
        QCOMPARE(list.size(), 2001);
        QCOMPARE(list.toStringList(), QStringList(2001, "12:43:49"));
    }
};

QUINTARO_TEST(LineListTest)
#include "LineListTest.moc"
