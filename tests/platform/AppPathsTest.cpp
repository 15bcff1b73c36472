#include "AppPaths.h"
#include "TestRegistry.h"

#include <QTest>

class AppPathsTest : public QObject {
    Q_OBJECT
private slots:
    void stopFile_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no extension") << "/opt/q/quintaro" << "/opt/q/quintaro.out";
        QTest::newRow("windows program") << "C:/q/monitor.exe" << "C:/q/monitor.out";
        QTest::newRow("dot in folder only") << "/opt/q.d/quintaro" << "/opt/q.d/quintaro.out";
    }
    void stopFile()
    {
        QFETCH(QString, executable);
        QFETCH(QString, expected);
        QCOMPARE(AppPaths::stopFile(executable), expected);
    }
};

QUINTARO_TEST(AppPathsTest)
#include "AppPathsTest.moc"
