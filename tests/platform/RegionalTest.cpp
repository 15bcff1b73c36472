#include "Regional.h"
#include "TestRegistry.h"

#include <QTest>
#include <cmath>

namespace {

Regional slashes24() { return Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'); }
Regional slashes12() { return Regional(u'/', u':', QStringLiteral("h:mm:ss AP"), u'.'); }

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

} // namespace

Q_DECLARE_METATYPE(Regional)

class RegionalTest : public QObject {
    Q_OBJECT
private slots:
    void timeLine_data()
    {
        QTest::addColumn<Regional>("regional");
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("line");
        QTest::newRow("own format") << slashes24() << at(2024, 2, 9, 7, 5, 3) << "09/02/2024 07:05:03";
        QTest::newRow("dots") << Regional(u'.', u'.', "HH.mm.ss", u',') << at(2024, 2, 9, 17, 5, 3)
                              << "09.02.2024 17.05.03";
        QTest::newRow("dashes, one-digit hour") << Regional(u'-', u':', "H:mm:ss", u'.')
                                                << at(1999, 12, 31, 7, 5, 3) << "31-12-1999 7:05:03";
        QTest::newRow("12-hour afternoon") << slashes12() << at(2024, 2, 9, 13, 5, 3)
                                           << "09/02/2024 1:05:03 PM";
        QTest::newRow("12-hour midnight") << slashes12() << at(2024, 2, 9, 0, 0, 7)
                                          << "09/02/2024 12:00:07 AM";
        QTest::newRow("12-hour noon") << slashes12() << at(2024, 2, 9, 12, 30, 0)
                                      << "09/02/2024 12:30:00 PM";
        QTest::newRow("12-hour padded, lower case") << Regional(u'/', u':', "hh:mm:ss ap", u'.')
                                                    << at(2024, 2, 9, 21, 5, 3) << "09/02/2024 09:05:03 pm";
        QTest::newRow("milliseconds") << Regional(u'/', u':', "HH:mm:ss.zzz", u'.')
                                      << at(2024, 2, 9, 7, 5, 3, 45) << "09/02/2024 07:05:03.045";
        QTest::newRow("quoted literal") << Regional(u'/', u'h', "HH'h'mm'm'ss", u'.')
                                        << at(2024, 2, 9, 7, 5, 3) << "09/02/2024 07h05m03";
    }
    void timeLine()
    {
        QFETCH(Regional, regional);
        QFETCH(QDateTime, time);
        QFETCH(QString, line);
        QCOMPARE(regional.formatTimeLine(time), line);
        // The hand-written writer agrees with Qt's own reading of the same format.
        QCOMPARE(time.toString(regional.shortDateFormat() + u' ' + regional.longTimeFormat()), line);
        QCOMPARE(regional.parseTimeLine(line), std::optional<QDateTime>(time));
    }

    void parseOtherForms_data()
    {
        QTest::addColumn<Regional>("regional");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: rejected
        QTest::newRow("one-digit fields") << slashes24() << "9/2/2024 7:5:3" << at(2024, 2, 9, 7, 5, 3);
        QTest::newRow("date only") << slashes24() << "09/02/2024" << at(2024, 2, 9, 0, 0, 0);
        QTest::newRow("no seconds") << slashes24() << "09/02/2024 07:05" << at(2024, 2, 9, 7, 5, 0);
        QTest::newRow("24-hour text, 12-hour format") << slashes12() << "09/02/2024 13:05:03"
                                                      << at(2024, 2, 9, 13, 5, 3);
        QTest::newRow("am/pm in lower case") << slashes12() << "09/02/2024 1:05:03 pm"
                                             << at(2024, 2, 9, 13, 5, 3);
        QTest::newRow("outer blanks") << slashes24() << " 09/02/2024 07:05:03 " << at(2024, 2, 9, 7, 5, 3);
        QTest::newRow("other date separator") << slashes24() << "09.02.2024 07:05:03" << QDateTime();
        QTest::newRow("other time separator") << slashes24() << "09/02/2024 07.05.03" << QDateTime();
        QTest::newRow("no such day") << slashes24() << "30/02/2024 10:00:00" << QDateTime();
        QTest::newRow("no such hour") << slashes24() << "09/02/2024 25:00:00" << QDateTime();
        QTest::newRow("no such 12-hour") << slashes12() << "09/02/2024 13:00:00 PM" << QDateTime();
        QTest::newRow("trailing text") << slashes24() << "09/02/2024 07:05:03x" << QDateTime();
        QTest::newRow("two-digit year") << slashes24() << "09/02/24 07:05:03" << QDateTime();
        QTest::newRow("header word") << slashes24() << "DATE" << QDateTime();
        QTest::newRow("empty") << slashes24() << "" << QDateTime();
    }
    void parseOtherForms()
    {
        QFETCH(Regional, regional);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const std::optional<QDateTime> parsed = regional.parseTimeLine(text);
        if (expected.isValid())
            QCOMPARE(parsed, std::optional<QDateTime>(expected));
        else
            QVERIFY2(!parsed, qPrintable(parsed ? parsed->toString() : QString()));
    }

    void readsTheZoneOffsetOfEachMoment()
    {
        const QByteArray savedZone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        const Regional regional = slashes24();
        // Same hour on both sides of a change to summer time: the cached offset must not carry.
        for (const QString &line : {u"30/03/2024 12:00:00"_qs, u"31/03/2024 12:00:00"_qs,
                                    u"31/03/2024 01:59:59"_qs, u"31/03/2024 03:00:00"_qs,
                                    u"27/10/2024 12:00:00"_qs}) {
            const QDateTime local = QDateTime::fromString(line, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
            const std::optional<QDateTime> parsed = regional.parseTimeLine(line);
            QVERIFY(parsed);
            QCOMPARE(parsed->toMSecsSinceEpoch(), local.toMSecsSinceEpoch());
            QCOMPARE(regional.formatTimeLine(*parsed), line);
        }
        QCOMPARE(regional.parseTimeLine(u"30/03/2024 12:00:00")->offsetFromUtc(), 3600);
        QCOMPARE(regional.parseTimeLine(u"31/03/2024 12:00:00")->offsetFromUtc(), 7200);
        if (savedZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", savedZone);
    }

    void shortDateFormat()
    {
        QCOMPARE(slashes24().shortDateFormat(), QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(Regional(u'.', u':', "HH:mm:ss", u',').shortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    }

    void numberRoundTrip_data()
    {
        QTest::addColumn<QChar>("point");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("tenth") << QChar(u'.') << 0.1 << "0.1";
        QTest::newRow("tenth, comma") << QChar(u',') << 0.1 << "0,1";
        QTest::newRow("needs 17 digits") << QChar(u'.') << 0.1 + 0.2 << "0.30000000000000004";
        QTest::newRow("negative, comma") << QChar(u',') << -2.5 << "-2,5";
        QTest::newRow("whole, no groups") << QChar(u',') << 1234567.0 << "1234567";
        QTest::newRow("zero") << QChar(u'.') << 0.0 << "0";
        QTest::newRow("negative zero") << QChar(u'.') << -0.0 << "-0";
        QTest::newRow("1e20") << QChar(u'.') << 1e20 << "1e+20";
        QTest::newRow("tiny, comma") << QChar(u',') << 1.5e-7 << "1,5e-07";
        QTest::newRow("largest") << QChar(u'.') << 1.7976931348623157e308 << "1.7976931348623157e+308";
    }
    void numberRoundTrip()
    {
        QFETCH(QChar, point);
        QFETCH(double, value);
        QFETCH(QString, text);
        const Regional regional(u'/', u':', QStringLiteral("HH:mm:ss"), point);
        QCOMPARE(regional.formatNumber(value), text);
        const std::optional<double> parsed = regional.parseNumber(text);
        QVERIFY(parsed);
        QCOMPARE(*parsed, value);
        QCOMPARE(std::signbit(*parsed), std::signbit(value));
    }

    void parseNumber_data()
    {
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected"); // NaN: rejected
        const double rejected = std::nan("");
        QTest::newRow("blanks around") << QChar(u',') << " 2,5 " << 2.5;
        QTest::newRow("plus sign") << QChar(u'.') << "+3" << 3.0;
        QTest::newRow("exponent") << QChar(u'.') << "1E3" << 1000.0;
        QTest::newRow("dot when comma is set") << QChar(u',') << "1.5" << rejected;
        QTest::newRow("comma when dot is set") << QChar(u'.') << "1,5" << rejected;
        QTest::newRow("group separator") << QChar(u'.') << "1 000" << rejected;
        QTest::newRow("NaN") << QChar(u'.') << "NaN" << rejected;
        QTest::newRow("nan") << QChar(u'.') << "nan" << rejected;
        QTest::newRow("infinity") << QChar(u'.') << "inf" << rejected;
        QTest::newRow("overflow") << QChar(u'.') << "1e400" << rejected;
        QTest::newRow("two signs") << QChar(u'.') << "+-1" << rejected;
        QTest::newRow("word") << QChar(u'.') << "abc" << rejected;
        QTest::newRow("empty") << QChar(u'.') << "" << rejected;
    }
    void parseNumber()
    {
        QFETCH(QChar, point);
        QFETCH(QString, text);
        QFETCH(double, expected);
        const std::optional<double> parsed =
            Regional(u'/', u':', QStringLiteral("HH:mm:ss"), point).parseNumber(text);
        if (std::isnan(expected))
            QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0))));
        else
            QCOMPARE(parsed, std::optional<double>(expected));
    }

    void formatsNaNWithoutParsingIt()
    {
        const Regional regional = slashes24();
        QVERIFY(!regional.parseNumber(regional.formatNumber(std::nan(""))));
    }

    void systemSettingsReadBackTheirOwnLines()
    {
        const Regional system = Regional::fromSystem();
        QVERIFY(!system.longTimeFormat().contains(u't'));
        QVERIFY(!system.dateSeparator().isLetterOrNumber());
        const QDateTime now = at(2024, 11, 5, 18, 7, 9);
        QCOMPARE(system.parseTimeLine(system.formatTimeLine(now)), std::optional<QDateTime>(now));
    }

    void currentIsReplaceable()
    {
        const Regional saved = Regional::current();
        Regional::setCurrent(Regional(u'.', u'.', QStringLiteral("HH.mm"), u','));
        QCOMPARE(Regional::current().decimalPoint(), QChar(u','));
        QCOMPARE(Regional::current().formatTimeLine(at(2024, 1, 2, 3, 4, 5)), QStringLiteral("02.01.2024 03.04"));
        Regional::setCurrent(saved);
        QCOMPARE(Regional::current().longTimeFormat(), saved.longTimeFormat());
    }
};

QUINTARO_TEST(RegionalTest)
#include "RegionalTest.moc"
