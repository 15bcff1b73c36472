#include "TestRegistry.h"

#include <QProcess>
#include <QTest>

// --help and --version answer without a window, so they work where there is no display.
class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("version") << "--version" << "quintaro 1.1";
        QTest::newRow("help") << "--help" << "Usage: quintaro [--help] [--version]";
    }
    void answersWithoutDisplay()
    {
        QFETCH(QString, option);
        QFETCH(QString, firstLine);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        process.setProcessEnvironment(environment);
        process.start(QUINTARO_EXECUTABLE, {option});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).section('\n', 0, 0), firstLine);
    }
};

QUINTARO_TEST(CommandLineTest)
#include "CommandLineTest.moc"
