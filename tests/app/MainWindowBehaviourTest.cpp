#include "DatabaseError.h"
#include "TChart.h"
#include "TStatusBar.h"
#include "TestRegistry.h"
#include "WindowUnderTest.h"
#include "TChartSlot.h"
#include "paMonSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray encoded(const QString &text, QStringConverter::Encoding encoding, bool withBom)
{
    QStringEncoder encoder(encoding, withBom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

} // namespace

class MainWindowBehaviourTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

private slots:

    void escapeClosesCustomSqlPanelOnly()
    {
        WindowUnderTest w(folder_.path());
        w.window->show();
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.window->edDB->setFocus();
        w.window->paCustomSQL->show();
        QTest::keyClick(w.window->edDB, Qt::Key_Escape);
        QVERIFY(!w.window->paCustomSQL->isVisible());
        QVERIFY(!w.window->state.bAbort);

        QTest::keyClick(w.window->edDB, Qt::Key_Escape);
        QVERIFY(w.window->state.bAbort);
        // The key still reaches the control: other keys type as usual.
        QTest::keyClicks(w.window->edDB, "x");
        QCOMPARE(w.window->edDB->text(), QString("masterx"));
    }

    // Alt+T and Alt+U belong to the control strip, though six "&Time" boxes and six "R&un"
    // buttons share the letters; Alt+letter on a letter of one control still works as before.
    void controlStripMnemonicsWin()
    {
        WindowUnderTest w(folder_.path());
        w.window->show();
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.window->edDB->setFocus();
        QSignalSpy tested(w.window->bbtSample, &QPushButton::clicked);
        QSignalSpy ran(w.window->slotByTag(1)->bbtStartSampling, &QPushButton::clicked);

        QTest::keyClick(w.window->edDB, Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(tested.size(), 1);
        QVERIFY(!w.window->slotByTag(1)->cbTime->isChecked());

        const bool custom = w.window->cbCustom->isChecked();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(w.window->cbCustom->isChecked(), !custom);
        QCOMPARE(ran.size(), 0);

        // Letters only the slots share still just move the focus among them.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
        QVERIFY(QApplication::focusWidget()->objectName().startsWith("cbMarks"));
        QVERIFY(!qobject_cast<QCheckBox *>(QApplication::focusWidget())->isChecked());
    }

    void escapeLetsPendingEventsRun()
    {
        WindowUnderTest w(folder_.path());
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        w.window->FormKeyPress(QChar(27));
        QVERIFY(ran);
        QVERIFY(w.window->state.bAbort);
    }

    void uncaughtErrorLandsInMessagePanel()
    {
        WindowUnderTest w(folder_.path());
        QTimer::singleShot(0, [] { throw DatabaseError(QStringLiteral("Lost connection")); });
        QTest::qWait(20);
        QCOMPARE(w.window->sbStatus->panelText(2), QString("Lost connection at DatabaseError"));
    }

    void serverListRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString names = QStringLiteral("ASE_PROD\r\nSrv-Zürich\r\nlocalhost:5000\r\n");
        QTest::newRow("system encoding") << encoded(names, QStringConverter::System, false);
        QTest::newRow("UTF-8 with BOM") << encoded(names, QStringConverter::Utf8, true);
        QTest::newRow("UTF-16 LE with BOM") << encoded(names, QStringConverter::Utf16LE, true);
        QTest::newRow("UTF-16 BE with BOM") << encoded(names, QStringConverter::Utf16BE, true);
    }
    void serverListRead()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        writeFile(dir.filePath("ServerList.ini"), bytes);
        WindowUnderTest w(dir.path());
        w.window->edSRV->setEditText("typed");
        w.window->FormActivate();
        QStringList items;
        for (int i = 0; i < w.window->edSRV->count(); ++i)
            items << w.window->edSRV->itemText(i);
        QCOMPARE(items, QStringList({"ASE_PROD", "Srv-Zürich", "localhost:5000"}));
        QCOMPARE(w.window->edSRV->currentText(), QString("typed"));
    }

    void missingServerListKeepsList()
    {
        QTemporaryDir dir;
        WindowUnderTest w(dir.path());
        w.window->edSRV->addItem("kept");
        w.window->FormActivate();
        QCOMPARE(w.window->edSRV->count(), 1);
        QVERIFY(w.dialogs->asked.isEmpty());
    }

    void defaultScriptFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("editor");
        const QString script = QStringLiteral("select * from master..monState\r\n-- Grüße\r\nselect 1\r\n");
        const QString shown = QStringLiteral("select * from master..monState\n-- Grüße\nselect 1");
        QTest::newRow("system encoding") << encoded(script, QStringConverter::System, false) << shown;
        QTest::newRow("UTF-16 LE with BOM") << encoded(script, QStringConverter::Utf16LE, true) << shown;
        QTest::newRow("UTF-8 with BOM") << encoded(script, QStringConverter::Utf8, true) << shown;
    }
    void defaultScriptFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, editor);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("Korvex.sql");
        writeFile(path, bytes);
        WindowUnderTest w(dir.path());
        QCOMPARE(w.window->reLoadSQL->toPlainText(), editor);
        QCOMPARE(w.window->edFileName->text(), path);
    }

    void noDefaultScriptFile()
    {
        QTemporaryDir dir;
        WindowUnderTest w(dir.path());
        QCOMPARE(w.window->reLoadSQL->toPlainText(), QString());
        QCOMPARE(w.window->edFileName->text(), QDir(dir.path()).filePath("Korvex.sql"));
        QVERIFY(w.dialogs->asked.isEmpty());
    }

    void clockAndRunningTint()
    {
        WindowUnderTest w(folder_.path());
        TChartSlot &running = *w.window->slotByTag(4);
        running.tmSample.start();
        w.window->tmExitTimer();
        const QColor tint(221, 233, 240);
        QCOMPARE(running.chrtStatistics->backgroundColor(), tint);
        QCOMPARE(running.sbStatus->backgroundColor(), tint);
        const QColor buttonFace = w.window->palette().color(QPalette::Button);
        QCOMPARE(w.window->slotByTag(3)->chrtStatistics->backgroundColor(), buttonFace);
        QVERIFY(QRegularExpression(R"(^T: \d\d\D\d\d\D\d{4} \S+)").match(w.window->sbStatus->panelText(1)).hasMatch());

        running.tmSample.stop();
        w.window->tmExitTimer();
        QCOMPARE(running.sbStatus->backgroundColor(), buttonFace);
    }

    // The real program, copied beside its own stop file, ends once the file appears.
    void stopFileEndsProgram()
    {
        QTemporaryDir dir;
        const QString program = QDir(dir.path()).filePath("quintaro");
        QVERIFY(QFile::copy(QUINTARO_EXECUTABLE, program));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", dir.path());
        process.setProcessEnvironment(environment);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QVERIFY(!process.waitForFinished(1500));
        writeFile(program + ".out", {});
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QUINTARO_TEST(MainWindowBehaviourTest)
#include "MainWindowBehaviourTest.moc"
