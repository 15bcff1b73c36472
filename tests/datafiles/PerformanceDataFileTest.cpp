#include "DataFilesWindow.h"
#include "PerformanceDataFile.h"
#include "TStatusBar.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Records what the desktop shell was asked to open.
class OpenRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class PerformanceDataFileTest : public QObject {
    Q_OBJECT

private slots:
    void exportAsksBeforeWriting_data()
    {
        QTest::addColumn<int>("pairs");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("asked");
        const QString question = QStringLiteral("question: Export Data to csv file?");
        QTest::newRow("empty list asks nothing") << 0 << true << "out.csv" << QStringList();
        QTest::newRow("answer No") << 2 << false << "out.csv" << QStringList{question};
        QTest::newRow("dialog cancelled") << 2 << true << "" << QStringList{question, "save"};
    }
    void exportAsksBeforeWriting()
    {
        QFETCH(int, pairs);
        QFETCH(bool, yes);
        QFETCH(QString, chosen);
        QFETCH(QStringList, asked);
        DataFilesWindow w;
        TChartSlot &slot = w.slot(2);
        DataFilesWindow::addPairs(slot, 0, pairs);
        w.dialogs->yesNoAnswers << yes;
        w.dialogs->fileAnswers << (chosen.isEmpty() ? chosen : w.path(chosen));
        slot.bbtExport->click();
        QCOMPARE(w.dialogs->asked, asked);
        QVERIFY(slot.edExportFile.isEmpty());
        QVERIFY(!QFile::exists(w.path("out.csv")));
    }

    void exportWritesHeaderAndPairsAsTheyStand()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(3);
        slot.edValueName->setText(QStringLiteral(" Locks\t"));
        slot.vDateList << u"01/02/2026 10:00:00" << u"01/02/2026 10:00:03" << u"01/02/2026 10:00:06";
        slot.vValueList << u"12" << u"1,5, 7" << u" x ";
        const QString file = w.path("perf.csv");
        w.dialogs->yesNoAnswers << true << false;
        w.dialogs->fileAnswers << file;
        slot.bbtExport->click();

        QCOMPARE(readBytes(file), QByteArray("Date,Locks\r\n"
                                             "01/02/2026 10:00:00,12\r\n"
                                             "01/02/2026 10:00:03,1,5, 7\r\n"
                                             "01/02/2026 10:00:06, x \r\n"));
        QCOMPARE(slot.edExportFile, file);
        QCOMPARE(slot.edExFrom, QString("2"));
        QCOMPARE(slot.sbStatus->panelText(1), QString("Data Saved..."));
        QCOMPARE(w.window->sbStatus->panelText(2), "Data Saved to " + file);
        QCOMPARE(w.dialogs->asked, (QStringList{"question: Export Data to csv file?", "save",
                                                "question: Performance Data Saved to " + file + "\r\nOpen File?"}));
    }

    void yesOpensTheFile()
    {
        DataFilesWindow w;
        OpenRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        TChartSlot &slot = w.slot(1);
        DataFilesWindow::addPairs(slot, 0, 1);
        w.dialogs->yesNoAnswers << true;
        SavePerformanceData(w.path("open.csv"), slot, w.window->context());
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(w.path("open.csv"))});
    }

    void headerNamesTheValue_data()
    {
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QString>("header");
        QTest::newRow("empty edit") << "" << "Date,Value";
        QTest::newRow("only blanks") << "  \t " << "Date,";
        QTest::newRow("trimmed of blanks and controls") << " \x01" "Free Pages\r " << "Date,Free Pages";
        QTest::newRow("non-ASCII name") << "Größe €/s" << "Date,Größe €/s";
    }
    void headerNamesTheValue()
    {
        QFETCH(QString, valueName);
        QFETCH(QString, header);
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        slot.edValueName->setText(valueName);
        slot.cbAutoSave->setChecked(true); // no closing question
        SavePerformanceData(w.path("h.csv"), slot, w.window->context());
        // Empty lists: a new file holds the header line alone, without a byte-order mark.
        QCOMPARE(readBytes(w.path("h.csv")), narrow(header + "\r\n"));
        QVERIFY(w.dialogs->asked.isEmpty());
    }

    void saveResumesAfterMarkerOnlyInExistingFile_data()
    {
        QTest::addColumn<QByteArray>("existing"); // "<none>": no file
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QByteArray>("added");
        const QByteArray all = "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2);
        QTest::newRow("new file, marker ignored") << QByteArray("<none>") << "1" << all;
        QTest::newRow("existing file, empty marker") << QByteArray("old\r\n") << "" << all;
        QTest::newRow("existing file, marker 0") << QByteArray("old\r\n") << "0" << pairLine(1) + pairLine(2);
        QTest::newRow("existing file, marker not a number") << QByteArray("old\r\n") << "x1" << all;
        QTest::newRow("existing file without final line break") << QByteArray("old") << "1" << pairLine(2);
        QTest::newRow("marker past the list") << QByteArray("old\r\n") << "7" << QByteArray();
    }
    void saveResumesAfterMarkerOnlyInExistingFile()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QString, marker);
        QFETCH(QByteArray, added);
        DataFilesWindow w;
        TChartSlot &slot = w.slot(4);
        DataFilesWindow::addPairs(slot, 0, 3);
        slot.edExFrom = marker;
        const QString file = w.path("r.csv");
        if (existing != "<none>")
            writeBytes(file, existing);
        SavePerformanceData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), (existing == "<none>" ? QByteArray() : existing) + added);
        QCOMPARE(slot.sbStatus->panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs->asked.size(), 1);
    }

    void secondSaveAddsOnlyNewPairs()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        const QString file = w.path("twice.csv");
        DataFilesWindow::addPairs(slot, 0, 2);
        SavePerformanceData(file, slot, w.window->context());
        DataFilesWindow::addPairs(slot, 2, 2);
        SavePerformanceData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2) + pairLine(3));
        QCOMPARE(slot.edExFrom, QString("3"));
    }

    void clearMakesNextSaveTakeEveryNewPair()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(2);
        const QString file = w.path("cleared.csv");
        DataFilesWindow::addPairs(slot, 0, 3);
        SavePerformanceData(file, slot, w.window->context());
        slot.bbtClear->click();
        QVERIFY(slot.edExFrom.isEmpty());
        // The first samples after Clear take indices 0 and 1 again.
        DataFilesWindow::addPairs(slot, 10, 2);
        SavePerformanceData(file, slot, w.window->context());
        QCOMPARE(readBytes(file), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2) + "Date,Value\r\n"
                                      + pairLine(10) + pairLine(11));
    }

    void escapeEndsSaveLikeACompleteOne()
    {
        DataFilesWindow w;
        w.window->show();
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.window->edDB->setFocus();
        TChartSlot &slot = w.slot(1);
        constexpr int total = 300000;
        DataFilesWindow::addPairs(slot, 0, total);
        const QString file = w.path("esc.csv");
        // The key arrives while the save lets pending events run.
        QTimer::singleShot(0, w.window.get(), [&] { QTest::keyClick(w.window->edDB, Qt::Key_Escape); });
        SavePerformanceData(file, slot, w.window->context());

        const qsizetype written = readBytes(file).count('\n') - 1;
        QVERIFY2(written > 0 && written < total, qPrintable(QString::number(written)));
        QCOMPARE(slot.edExFrom, QString::number(written - 1));
        QCOMPARE(slot.sbStatus->panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs->asked, QStringList{"question: Performance Data Saved to " + file + "\r\nOpen File?"});

        // The next save resumes after the marker: every pair once, none lost.
        SavePerformanceData(file, slot, w.window->context());
        QByteArray expected = "Date,Value\r\n";
        for (int i = 0; i < total; ++i)
            expected += pairLine(i);
        QVERIFY(readBytes(file) == expected);
    }

    void saveStartedDuringSaveOfSameFileIsSkipped()
    {
        DataFilesWindow w;
        TChartSlot &slot = w.slot(1);
        constexpr int total = 200000;
        DataFilesWindow::addPairs(slot, 0, total);
        const QString file = w.path("busy.csv");
        slot.edExportFile = file;
        slot.cbAutoSave->setChecked(true);
        bool ticked = false;
        // The auto-save tick comes while the Export of the same file is halfway.
        QTimer::singleShot(0, w.window.get(), [&] { w.window->tmSaveTimer(); ticked = true; });
        SavePerformanceData(file, slot, w.window->context());
        QVERIFY(ticked);
        QByteArray expected = "Date,Value\r\n";
        for (int i = 0; i < total; ++i)
            expected += pairLine(i);
        QVERIFY(readBytes(file) == expected);
    }

    void failedSaveStopsSampling_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("markerAfter");
        QTest::addColumn<QString>("message");
        // A folder exists but cannot be opened; a full device takes the open but not the lines.
        QTest::newRow("folder") << "<folder>" << "0" << "Cannot open file";
        QTest::newRow("full device") << "/dev/full" << "0" << "Cannot write file \"/dev/full\"";
    }
    void failedSaveStopsSampling()
    {
        QFETCH(QString, file);
        QFETCH(QString, markerAfter);
        QFETCH(QString, message);
        DataFilesWindow w;
        TChartSlot &slot = w.slot(5);
        DataFilesWindow::addPairs(slot, 0, 3);
        slot.edExFrom = "0";
        slot.tmSample.start();
        if (file == "<folder>") {
            QVERIFY(QDir(w.path("")).mkdir("sub"));
            file = w.path("sub");
        }
        SavePerformanceData(file, slot, w.window->context());
        QVERIFY(!slot.tmSample.isActive());
        QVERIFY2(slot.sbStatus->panelText(1).startsWith("Sampling Stopped..." + message),
                 qPrintable(slot.sbStatus->panelText(1)));
        // The lines never reached the file, so the marker does not claim them.
        QCOMPARE(slot.edExFrom, markerAfter);
        QVERIFY(w.dialogs->asked.isEmpty());
    }
};

QUINTARO_TEST(PerformanceDataFileTest)
#include "PerformanceDataFileTest.moc"
