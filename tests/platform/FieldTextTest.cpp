#include "FieldText.h"
#include "Regional.h"
#include "TestRegistry.h"

#include <QDateTime>
#include <QTest>
#include <limits>

// Values as the ODBC driver hands them over, including kinds the SQLite driver never produces.
class FieldTextTest : public QObject {
    Q_OBJECT

    Regional saved = Regional::current();

private slots:
    void init() { Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u',')); }
    void cleanup() { Regional::setCurrent(saved); }

    void fromValue_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("isNull");
        QTest::addColumn<QString>("text");
        QTest::newRow("NULL number read as 0") << QVariant(0) << true << "";
        QTest::newRow("int") << QVariant(-2147483647 - 1) << false << "-2147483648";
        QTest::newRow("largest bigint")
            << QVariant(std::numeric_limits<qlonglong>::max()) << false << "9223372036854775807";
        QTest::newRow("unsigned bigint")
            << QVariant(std::numeric_limits<qulonglong>::max()) << false << "18446744073709551615";
        QTest::newRow("double, 17 digits") << QVariant(0.1 + 0.2) << false << "0,30000000000000004";
        QTest::newRow("double, negative zero") << QVariant(-0.0) << false << "-0";
        QTest::newRow("double, million") << QVariant(1e6) << false << "1000000";
        QTest::newRow("real keeps its own digits") << QVariant(0.1f) << false << "0,1";
        QTest::newRow("date-time") << QVariant(QDateTime(QDate(2024, 3, 1), QTime(0, 0, 9)))
                                   << false << "01/03/2024 00:00:09";
        QTest::newRow("date") << QVariant(QDate(2024, 3, 1)) << false << "01/03/2024";
        QTest::newRow("time") << QVariant(QTime(23, 5, 0)) << false << "23:05:00";
        QTest::newRow("binary") << QVariant(QByteArray("\x01\xab", 2)) << false << "0x01AB";
        QTest::newRow("empty binary") << QVariant(QByteArray()) << false << "0x";
        QTest::newRow("text as is") << QVariant(QStringLiteral(" 1.234,5 ")) << false << " 1.234,5 ";
    }
    void fromValue()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, isNull);
        QFETCH(QString, text);
        QCOMPARE(FieldText::fromValue(value, isNull), text);
    }
};

QUINTARO_TEST(FieldTextTest)
#include "FieldTextTest.moc"
