#include "DatabaseError.h"
#include "OleDbConnectionString.h"
#include "TestRegistry.h"

#include <QTest>

class OleDbConnectionStringTest : public QObject {
    Q_OBJECT

    static const inline QString programString =
        QStringLiteral("Provider=%1;Persist Security Info=False;User ID=sa;Data Source=%2;"
                       "Initial Catalog=master;Password=%3;Database=%4");

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Provider=MSDASQL.1;User ID=sa" << "User ID" << "sa";
        QTest::newRow("key in any case") << "Provider=MSDASQL.1;User ID=sa" << "user id" << "sa";
        QTest::newRow("blanks trimmed") << " Data Source = srv 1 ;x=y" << "Data Source" << "srv 1";
        QTest::newRow("double quotes hold ;") << "Password=\"a;b\";x=y" << "Password" << "a;b";
        QTest::newRow("single quotes hold \"") << "Password='x\"y'" << "Password" << "x\"y";
        QTest::newRow("doubled double quote") << "Password=\"a\"\"b\"" << "Password" << "a\"b";
        QTest::newRow("doubled single quote") << "Password='it''s' ;x=y" << "Password" << "it's";
        QTest::newRow("quotes keep outer blanks") << "Password=\" p \"" << "Password" << " p ";
        QTest::newRow("quote inside a bare value") << "Password=ab\"c'd" << "Password" << "ab\"c'd";
        QTest::newRow("later duplicate wins") << "Database=a;DATABASE=b" << "Database" << "b";
        QTest::newRow("empty value") << "Password=;Database=x" << "Password" << "";
        QTest::newRow("== in a key") << "a==b=c" << "a=b" << "c";
        QTest::newRow("absent key") << "Database=x" << "Password" << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(OleDbConnectionString(text).value(key), expected);
    }

    void containsEmptyValues()
    {
        const OleDbConnectionString parsed(u"Password=;Database=x");
        QVERIFY(parsed.contains(u"password"));
        QVERIFY(!parsed.contains(u"User ID"));
        QCOMPARE(parsed.pairs().size(), 2);
    }

    void malformedRaises_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("unterminated quote") << "Password=\"abc;Database=x";
        QTest::newRow("text after quotes") << "Password=\"abc\"def;Database=x";
        QTest::newRow("key without =") << "Provider=MSDASQL.1;junk;Database=x";
    }
    void malformedRaises()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, OleDbConnectionString{text});
    }

    void quoteValueRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << "secret" << "secret";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("semicolon") << "a;b" << "\"a;b\"";
        QTest::newRow("equals") << "a=b" << "\"a=b\"";
        QTest::newRow("double quote") << "x\"y" << "'x\"y'";
        QTest::newRow("single quote") << "it's" << "\"it's\"";
        QTest::newRow("both quotes") << "a\"b'c" << "\"a\"\"b'c\"";
        QTest::newRow("outer blanks") << " pw " << "\" pw \"";
        QTest::newRow("brace, no quoting needed") << "a}b{" << "a}b{";
    }
    void quoteValueRoundTrip()
    {
        QFETCH(QString, value);
        QFETCH(QString, quoted);
        QCOMPARE(OleDbConnectionString::quoteValue(value), quoted);
        const OleDbConnectionString parsed(programString.arg(
            u"MSDASQL.1", u"dsn", OleDbConnectionString::quoteValue(value), u"db"));
        QCOMPARE(parsed.value(u"Password"), value);
        QCOMPARE(parsed.value(u"Database"), QStringLiteral("db"));
    }

    void toOdbc_data()
    {
        QTest::addColumn<QString>("oleDb");
        QTest::addColumn<QString>("odbc");
        QTest::newRow("ODBC data source")
            << programString.arg(u"MSDASQL.1", u"mydsn", u"secret", u"pubs")
            << "DSN=mydsn;UID=sa;PWD=secret;DATABASE=pubs";
        QTest::newRow("Initial Catalog when Database is empty")
            << programString.arg(u"MSDASQL.1", u"mydsn", u"", u"")
            << "DSN=mydsn;UID=sa;PWD=;DATABASE=master";
        QTest::newRow("ASE server from freetds.conf")
            << programString.arg(u"ASEOLEDB.1", u"SYB1", u"pw", u"master")
            << "DRIVER={FreeTDS};TDS_Version=5.0;Servername=SYB1;ClientCharset=UTF-8;"
               "UID=sa;PWD=pw;Database=master";
        QTest::newRow("ASE host and port")
            << programString.arg(u"ASEOLEDB.1", u"db.example.org:5000", u"pw", u"tempdb")
            << "DRIVER={FreeTDS};TDS_Version=5.0;Server=db.example.org;Port=5000;"
               "ClientCharset=UTF-8;UID=sa;PWD=pw;Database=tempdb";
        QTest::newRow("provider in any case")
            << programString.arg(u"aseoledb.1", u"SYB1", u"", u"")
            << "DRIVER={FreeTDS};TDS_Version=5.0;Servername=SYB1;ClientCharset=UTF-8;"
               "UID=sa;PWD=;Database=master";
        QTest::newRow("password with ; = \" and outer blank")
            << programString.arg(u"MSDASQL.1", u"mydsn",
                                 OleDbConnectionString::quoteValue(u" a;b=c\"d "_qs), u"db")
            << "DSN=mydsn;UID=sa;PWD={ a;b=c\"d };DATABASE=db";
        // FreeTDS reads a value written plainly up to ";" and takes no "}}" escape.
        QTest::newRow("} needing no braces") << programString.arg(u"MSDASQL.1", u"mydsn", u"a}}b{", u"db")
                                            << "DSN=mydsn;UID=sa;PWD=a}}b{;DATABASE=db";
        // FreeTDS ends a braced value only at "};", so one at the end is followed by ";".
        QTest::newRow("braced value last") << programString.arg(u"MSDASQL.1", u"mydsn", u"pw", u"{db}}")
                                          << "DSN=mydsn;UID=sa;PWD=pw;DATABASE={{db}}};";
        QTest::newRow("braces only for a leading {")
            << programString.arg(u"ASEOLEDB.1", u"{x", u"", u"db")
            << "DRIVER={FreeTDS};TDS_Version=5.0;Servername={{x};ClientCharset=UTF-8;"
               "UID=sa;PWD=;Database=db";
        QTest::newRow("stray blanks around a quoted server name")
            << programString.arg(u"MSDASQL.1", OleDbConnectionString::quoteValue(u" mydsn "_qs), u"", u"db")
            << "DSN=mydsn;UID=sa;PWD=;DATABASE=db";
        QTest::newRow("no user or password given")
            << "Provider=MSDASQL.1;Data Source=mydsn" << "DSN=mydsn";
    }
    void toOdbc()
    {
        QFETCH(QString, oleDb);
        QFETCH(QString, odbc);
        qunsetenv(OleDbConnectionString::aseDriverVariable);
        QCOMPARE(OleDbConnectionString(oleDb).toOdbc(), odbc);
    }

    void aseDriverFromEnvironment()
    {
        const OleDbConnectionString ase(programString.arg(u"ASEOLEDB.1", u"SYB1", u"pw", u"db"));
        const QString rest = QStringLiteral(";Servername=SYB1;ClientCharset=UTF-8;UID=sa;PWD=pw;Database=db");
        qputenv(OleDbConnectionString::aseDriverVariable,
                "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;TDS_Version=5.0;Timeout=30");
        QCOMPARE(ase.toOdbc(), QStringLiteral("DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;"
                                              "TDS_Version=5.0;Timeout=30") + rest);
        qputenv(OleDbConnectionString::aseDriverVariable, "");
        QCOMPARE(ase.toOdbc(), QStringLiteral("DRIVER={FreeTDS};TDS_Version=5.0") + rest);
        qunsetenv(OleDbConnectionString::aseDriverVariable);
        // The ODBC provider never uses it.
        qputenv(OleDbConnectionString::aseDriverVariable, "DRIVER={Other}");
        QCOMPARE(OleDbConnectionString(programString.arg(u"MSDASQL.1", u"d", u"", u"")).toOdbc(),
                 QStringLiteral("DSN=d;UID=sa;PWD=;DATABASE=master"));
        qunsetenv(OleDbConnectionString::aseDriverVariable);
    }

    void unknownProviderRaises_data()
    {
        QTest::addColumn<QString>("oleDb");
        QTest::newRow("other provider") << "Provider=SQLOLEDB.1;Data Source=x";
        QTest::newRow("no provider") << "Data Source=x";
    }
    void unknownProviderRaises()
    {
        QFETCH(QString, oleDb);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, OleDbConnectionString(oleDb).toOdbc());
    }

    // A value that needs braces and holds "}" cannot reach FreeTDS unchanged: refused up front,
    // naming the field, never showing the password.
    void valueFreeTdsCannotCarry_data()
    {
        QTest::addColumn<QString>("oleDb");
        QTest::addColumn<QString>("field");
        QTest::newRow("password holding };")
            << programString.arg(u"MSDASQL.1", u"d", OleDbConnectionString::quoteValue(u"a};b"_qs), u"db")
            << "password";
        QTest::newRow("server name holding };")
            << programString.arg(u"ASEOLEDB.1", OleDbConnectionString::quoteValue(u"{x};"_qs), u"pw", u"db")
            << "server name";
        QTest::newRow("database holding };")
            << programString.arg(u"MSDASQL.1", u"d", u"pw", OleDbConnectionString::quoteValue(u" d};"_qs))
            << "database";
    }
    void valueFreeTdsCannotCarry()
    {
        QFETCH(QString, oleDb);
        QFETCH(QString, field);
        QString message;
        try {
            OleDbConnectionString(oleDb).toOdbc();
        } catch (const DatabaseError &error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith(QStringLiteral("The %1 cannot be passed to the ODBC driver").arg(field)),
                 qPrintable(message));
    }

    // The malformed-string message quotes the text it could not read, password masked.
    void malformedMessageMasksPassword()
    {
        QString message;
        try {
            OleDbConnectionString(u"Provider=ASEOLEDB.1;Password=s3cret;Data Source=\"x"_qs);
        } catch (const DatabaseError &error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith(QStringLiteral("Malformed connection string")), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("s3cret")), qPrintable(message));
    }
};

QUINTARO_TEST(OleDbConnectionStringTest)
#include "OleDbConnectionStringTest.moc"
