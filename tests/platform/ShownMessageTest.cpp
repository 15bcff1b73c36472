#include "DatabaseError.h"
#include "ShownMessage.h"
#include "TestRegistry.h"

#include <QTest>

class ShownMessageTest : public QObject {
    Q_OBJECT

    static QString longText(qsizetype length, QChar c = u'x') { return QString(length, c); }

private slots:
    void shown_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        const QString ellipsis(QChar(0x2026));
        QTest::newRow("plain") << "Login failed for user 'sa'" << "Login failed for user 'sa'";
        QTest::newRow("plain password") << "x: DSN=d;UID=sa;PWD=s3cret;DATABASE=db"
                                        << "x: DSN=d;UID=sa;PWD=*****;DATABASE=db";
        QTest::newRow("braced password holding ;") << "DRIVER=x;pwd = {a;b};Database=db"
                                                   << "DRIVER=x;pwd = *****;Database=db";
        QTest::newRow("password last") << "UID=sa;PWD=a}b" << "UID=sa;PWD=*****";
        QTest::newRow("empty password") << "UID=sa;PWD=;Database=db" << "UID=sa;PWD=*****;Database=db";
        QTest::newRow("OLE DB password, quoted") << "(x): Provider=P;Password=\"a;\"\"b\";Data Source=s"
                                                 << "(x): Provider=P;Password=*****;Data Source=s";
        QTest::newRow("PWD inside a longer key left alone") << "XPWD=v" << "XPWD=v";
        QTest::newRow("quoted value at the limit")
            << "value '" + longText(ShownMessage::quotedLimit) + "' to int"
            << "value '" + longText(ShownMessage::quotedLimit) + "' to int";
        QTest::newRow("quoted value cut")
            << "value '" + longText(ShownMessage::quotedLimit + 1) + "' to int"
            << "value '" + longText(ShownMessage::quotedLimit) + ellipsis + "' to int";
        QTest::newRow("double-quoted value cut")
            << "name \"" + longText(1000000, u'y') + "\" unknown"
            << "name \"" + longText(ShownMessage::quotedLimit, u'y') + ellipsis + "\" unknown";
        QTest::newRow("lone apostrophe quotes nothing")
            << "Can't read " + longText(150) << "Can't read " + longText(150);
        QTest::newRow("whole message held to its limit")
            << longText(ShownMessage::messageLimit + 500) << longText(ShownMessage::messageLimit) + ellipsis;
    }
    void shown()
    {
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(ShownMessage::from(message), expected);
        // Every database error is shown this way.
        QCOMPARE(DatabaseError(message).message(), expected);
    }
};

QUINTARO_TEST(ShownMessageTest)
#include "ShownMessageTest.moc"
