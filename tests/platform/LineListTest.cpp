#include "LineList.h"
#include "Regional.h"
#include "TestRegistry.h"

#include <QTest>
#include <cstring>

namespace {

LineList listOf(const QStringList &lines)
{
    LineList list;
    for (const QString &line : lines)
        list << line;
    return list;
}

// Sets the regional settings for the test and puts the old ones back.
class RegionalScope {
public:
    explicit RegionalScope(const Regional &regional) : saved_(Regional::current()) { Regional::setCurrent(regional); }
    ~RegionalScope() { Regional::setCurrent(saved_); }

private:
    Regional saved_;
};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

Q_DECLARE_METATYPE(Regional)

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
            QCOMPARE(list.at(i), lines[i]);
            QCOMPARE(list[i], lines[i]);
        }
        if (!lines.isEmpty()) {
            QCOMPARE(list.first(), lines.first());
            QCOMPARE(list.last(), lines.last());
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

    // Lines the list packs and lines it keeps as text, side by side: each comes back as appended,
    // and what the list reads from a packed line is what the text reads as.
    void givesBackEveryLineExactly_data()
    {
        QTest::addColumn<Regional>("regional");
        QTest::addColumn<QStringList>("lines");
        const QStringList numbers{"0", "-0", "12", "-12.5", "1.50", "0.05", "-0.0", "999999999999999",
                                  "99999999999999.9", "1,5", "12,000"};
        const QStringList notNumbers{"007", "00.5", "+1", ".5", "5.", "1e5", " 12", "12 ", "1 000", "-",
                                     "9999999999999999", "1.2.3", "1,5, 7", "abc", "ÿ", "Ā", "",
                                     QString::fromUtf8("\xF0\x9F\x98\x80"), QString(120, u'v')};
        QTest::newRow("24-hour, slashes")
            << Regional(u'/', u':', "HH:mm:ss", u'.')
            << QStringList{"01/02/2026 10:00:00", "31/12/1999 23:59:59", "29/02/2024 00:00:00",
                           // Read by the lenient parser, but not written so: kept as text.
                           "1/2/2026 10:00:00", "01/02/2026 10:00", "01/02/2026 1:00:00", "01/02/2026  10:00:00",
                           "01/02/2026 10:00:00 ", "01.02.2026 10:00:00", "31/02/2026 10:00:00", "01/02/2026",
                           "01/02/0000 10:00:00"}
                   + numbers + notNumbers;
        QTest::newRow("12-hour, dots, decimal comma")
            << Regional(u'.', u'.', "h.mm.ss AP", u',')
            << QStringList{"09.02.2024 1.05.03 PM", "09.02.2024 12.00.07 AM", "09.02.2024 1.05.03 pm",
                           "09.02.2024 01.05.03 PM", "09.02.2024 13.05.03"}
                   + numbers + notNumbers;
        QTest::newRow("milliseconds")
            << Regional(u'/', u':', "HH:mm:ss.zzz", u'.')
            << QStringList{"09/02/2024 07:05:03.045", "09/02/2024 07:05:03.000", "09/02/2024 07:05:03.45",
                           "09/02/2024 07:05:03"}
                   + numbers;
    }
    void givesBackEveryLineExactly()
    {
        QFETCH(Regional, regional);
        QFETCH(QStringList, lines);
        const RegionalScope scope(regional);
        LineList list;
        for (const QString &line : lines)
            list << line;
        QCOMPARE(list.toStringList(), lines);
        QString out = QStringLiteral("kept|");
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(list.isEmptyLine(i), lines[i].isEmpty());
            out.resize(5);
            list.appendTo(i, out);
            QCOMPARE(out, "kept|" + lines[i]);

            const std::optional<double> number = list.number(i, regional.decimalPoint());
            const std::optional<double> read = regional.parseNumber(lines[i]);
            if (number)
                QVERIFY2(read && sameBits(*number, *read), qPrintable(lines[i]));
            const std::optional<Regional::LocalTime> local = list.timeLine(i, regional);
            const std::optional<QDateTime> time = regional.parseTimeLine(lines[i]);
            if (local)
                QVERIFY2(time && regional.msecsSinceEpoch(*local) == time->toMSecsSinceEpoch(), qPrintable(lines[i]));
            // Lines as the program writes them are never read from text.
            QCOMPARE(bool(local), time && regional.formatTimeLine(*time) == lines[i]);
        }
        QCOMPARE(bool(list.number(lines.indexOf("12"), regional.decimalPoint())), true);
    }

    // Lines the program writes cost a word each, not their text.
    void packsTheProgramsOwnLines()
    {
        const RegionalScope scope(Regional(u'/', u':', "HH:mm:ss", u'.'));
        LineList dates;
        LineList values;
        const QDateTime start(QDate(2026, 2, 1), QTime(0, 0));
        constexpr int count = 10000;
        for (int i = 0; i < count; ++i) {
            dates << Regional::current().formatTimeLine(start.addSecs(i));
            values << QString::number(i * 0.25);
        }
        QVERIFY(dates.storageBytes() <= 2 * count * qsizetype(sizeof(quint64)));
        QVERIFY(values.storageBytes() <= 2 * count * qsizetype(sizeof(quint64)));
        QCOMPARE(dates.at(count - 1), Regional::current().formatTimeLine(start.addSecs(count - 1)));
        QCOMPARE(values.at(count - 1), QString::number((count - 1) * 0.25));
    }

    // Lines packed under one form of time line stay as written when the settings change, and the
    // list then leaves reading them to the text.
    void keepsItsLinesWhenTheSettingsChange()
    {
        const Regional slashes(u'/', u':', "HH:mm:ss", u'.');
        const Regional dots(u'.', u':', "HH:mm:ss", u',');
        LineList list;
        {
            const RegionalScope scope(slashes);
            list << u"01/02/2026 10:00:00" << u"1.5";
        }
        const RegionalScope scope(dots);
        list << u"01.02.2026 10:00:00" << u"1,5";
        QCOMPARE(list.toStringList(), (QStringList{"01/02/2026 10:00:00", "1.5", "01.02.2026 10:00:00", "1,5"}));
        QVERIFY(list.timeLine(0, slashes));
        QVERIFY(!list.timeLine(0, dots));
        QVERIFY(!list.timeLine(2, dots));
        QVERIFY(!list.number(1, u','));
        QCOMPARE(list.number(3, u','), std::optional<double>(1.5));

        LineList same;
        {
            const RegionalScope back(slashes);
            same << u"01/02/2026 10:00:00" << u"1.5";
        }
        same << u"01.02.2026 10:00:00" << u"1,5";
        QVERIFY(list == same);
        list.clear();
        list << u"01.02.2026 10:00:00";
        QVERIFY(list.timeLine(0, dots));
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
