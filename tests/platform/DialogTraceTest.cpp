#include "TestRegistry.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Qt's own dialogs would keep their history in a settings file in the user's configuration
// folder; the application object makes them keep it nowhere.
class DialogTraceTest : public QObject {
    Q_OBJECT
private slots:
    void dialogsLeaveNoSettingsFile()
    {
        const QString settingsFile =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath("QtProject.conf");
        const bool existed = QFileInfo::exists(settingsFile);
        const QDateTime modified = existed ? QFileInfo(settingsFile).lastModified() : QDateTime();
        QTemporaryDir folder;
        {
            QFileDialog dialog(nullptr, {}, folder.path());
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.selectFile(QStringLiteral("chosen.csv"));
        }
        {
            QColorDialog dialog;
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QColorDialog::setCustomColor(0, Qt::red);
        }
        QCOMPARE(QFileInfo::exists(settingsFile), existed);
        if (existed)
            QCOMPARE(QFileInfo(settingsFile).lastModified(), modified);
    }
};

QUINTARO_TEST(DialogTraceTest)
#include "DialogTraceTest.moc"
