#include "AutoSave.h"
#include "DataFilesFixture.h"
#include "PerformanceDataFile.h"
#include "PerformanceDataLoader.h"
#include "TestRegistry.h"

#include <QDesktopServices>
#include <QDir>
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
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(2);
        DataFilesFixture::addPairs(slot, 0, pairs);
        w.dialogs.yesNoAnswers << yes;
        w.dialogs.fileAnswers << (chosen.isEmpty() ? chosen : w.path(chosen));
        ExportPerformanceData(slot, slot, w.context);
        QCOMPARE(w.dialogs.asked, asked);
        QVERIFY(slot.edExportFile.isEmpty());
        QVERIFY(!QFile::exists(w.path("out.csv")));
    }

    void exportWritesHeaderAndPairsAsTheyStand()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(3);
        slot.controls.valueName = QStringLiteral(" Locks\t");
        slot.vDateList << u"01/02/2026 10:00:00" << u"01/02/2026 10:00:03" << u"01/02/2026 10:00:06";
        slot.vValueList << u"12" << u"1,5, 7" << u" x ";
        const QString file = w.path("perf.csv");
        w.dialogs.yesNoAnswers << true << false;
        w.dialogs.fileAnswers << file;
        ExportPerformanceData(slot, slot, w.context);

        QCOMPARE(readBytes(file), QByteArray("Date,Locks\r\n"
                                             "01/02/2026 10:00:00,12\r\n"
                                             "01/02/2026 10:00:03,1,5, 7\r\n"
                                             "01/02/2026 10:00:06, x \r\n"));
        QCOMPARE(slot.edExportFile, file);
        QCOMPARE(slot.edExFrom, QString("2"));
        QCOMPARE(slot.statusBar.panelText(1), QString("Data Saved..."));
        QCOMPARE(w.sbStatus.panelText(2), "Data Saved to " + file);
        QCOMPARE(w.dialogs.asked, (QStringList{"question: Export Data to csv file?", "save",
                                               "question: Performance Data Saved to " + file + "\r\nOpen File?"}));
    }

    void yesOpensTheFile()
    {
        DataFilesFixture w;
        OpenRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        SlotUnderTest &slot = w.slot(1);
        DataFilesFixture::addPairs(slot, 0, 1);
        w.dialogs.yesNoAnswers << true;
        SavePerformanceData(w.path("open.csv"), slot, slot, w.context);
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
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        slot.controls.valueName = valueName;
        slot.controls.autoSave = true; // no closing question
        SavePerformanceData(w.path("h.csv"), slot, slot, w.context);
        // Empty lists: a new file holds the header line alone, without a byte-order mark.
        QCOMPARE(readBytes(w.path("h.csv")), narrow(header + "\r\n"));
        QVERIFY(w.dialogs.asked.isEmpty());
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
        // The unfinished last line gets its end before the first new one.
        QTest::newRow("existing file without final line break") << QByteArray("old") << "1" << "\r\n" + pairLine(2);
        QTest::newRow("marker past the list") << QByteArray("old\r\n") << "7" << QByteArray();
    }
    void saveResumesAfterMarkerOnlyInExistingFile()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QString, marker);
        QFETCH(QByteArray, added);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(4);
        DataFilesFixture::addPairs(slot, 0, 3);
        slot.edExFrom = marker;
        const QString file = w.path("r.csv");
        if (existing != "<none>")
            writeBytes(file, existing);
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), (existing == "<none>" ? QByteArray() : existing) + added);
        QCOMPARE(slot.statusBar.panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs.asked.size(), 1);
    }

    void secondSaveAddsOnlyNewPairs()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        const QString file = w.path("twice.csv");
        DataFilesFixture::addPairs(slot, 0, 2);
        SavePerformanceData(file, slot, slot, w.context);
        DataFilesFixture::addPairs(slot, 2, 2);
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2) + pairLine(3));
        QCOMPARE(slot.edExFrom, QString("3"));
    }

    void clearMakesNextSaveTakeEveryNewPair()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(2);
        const QString file = w.path("cleared.csv");
        DataFilesFixture::addPairs(slot, 0, 3);
        SavePerformanceData(file, slot, slot, w.context);
        // What Clear leaves: empty lists and no marker.
        slot.vDateList.clear();
        slot.vValueList.clear();
        slot.edExFrom.clear();
        // The first samples after Clear take indices 0 and 1 again.
        DataFilesFixture::addPairs(slot, 10, 2);
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), "Date,Value\r\n" + pairLine(0) + pairLine(1) + pairLine(2) + "Date,Value\r\n"
                                      + pairLine(10) + pairLine(11));
    }

    void replacedListsEndTheSave_data()
    {
        QTest::addColumn<bool>("load");
        QTest::newRow("Clear") << false;
        QTest::newRow("Load") << true;
    }
    void replacedListsEndTheSave()
    {
        QFETCH(bool, load);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        constexpr int total = 300000;
        DataFilesFixture::addPairs(slot, 0, total);
        const QString file = w.path("replaced.csv");
        const QString loaded = w.path("loaded.csv");
        writeBytes(loaded, "Date,Value\r\n" + pairLine(7) + pairLine(8));
        // Clear or Load comes while the save lets events run; after Clear the first new sample
        // follows at once.
        QTimer::singleShot(0, [&] {
            if (load) {
                w.dialogs.fileAnswers << loaded;
                LoadPerformanceData(slot, slot, w.context);
                return;
            }
            // What Clear leaves: empty lists, a new generation of them and no marker.
            slot.vDateList.clear();
            slot.vValueList.clear();
            ++slot.listsGeneration;
            slot.edExFrom.clear();
            DataFilesFixture::addPairs(slot, 7, 1);
        });
        SavePerformanceData(file, slot, slot, w.context);
        // The file holds old pairs only, each whole, and the save says it ended short.
        const QByteArray first = readBytes(file);
        const qsizetype written = first.count('\n') - 1;
        QVERIFY2(written > 0 && written < total, qPrintable(QString::number(written)));
        QByteArray expected = "Date,Value\r\n";
        for (int i = 0; i < written; ++i)
            expected += pairLine(i);
        QVERIFY(first == expected);
        QCOMPARE(slot.statusBar.panelText(1), QString("Save ended: the slot's data was replaced"));
        QVERIFY(!w.dialogs.asked.contains("question: Performance Data Saved to " + file + "\r\nOpen File?"));
        // The marker is the new lists': the loaded file's pairs, or none after Clear.
        QCOMPARE(slot.edExFrom, load ? QString("1") : QString());
        if (load)
            return;
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(readBytes(file), first + "Date,Value\r\n" + pairLine(7));
    }

    void abortEndsSaveLikeACompleteOne()
    {
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        constexpr int total = 300000;
        DataFilesFixture::addPairs(slot, 0, total);
        const QString file = w.path("esc.csv");
        // Escape comes while the save lets pending events run.
        QTimer::singleShot(0, [&] { w.state.bAbort = true; });
        SavePerformanceData(file, slot, slot, w.context);

        const qsizetype written = readBytes(file).count('\n') - 1;
        QVERIFY2(written > 0 && written < total, qPrintable(QString::number(written)));
        QCOMPARE(slot.edExFrom, QString::number(written - 1));
        QCOMPARE(slot.statusBar.panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs.asked, QStringList{"question: Performance Data Saved to " + file + "\r\nOpen File?"});

        // The next save, the flag still set, resumes after the marker: every pair once, none lost.
        SavePerformanceData(file, slot, slot, w.context);
        QByteArray expected = "Date,Value\r\n";
        for (int i = 0; i < total; ++i)
            expected += pairLine(i);
        QVERIFY(readBytes(file) == expected);
    }

    void saveStartedDuringSaveOfSameFileIsSkipped_data()
    {
        QTest::addColumn<int>("second");
        QTest::newRow("auto-save tick of the saving slot") << 1;
        QTest::newRow("Export of another slot") << 2;
    }
    void saveStartedDuringSaveOfSameFileIsSkipped()
    {
        QFETCH(int, second);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        constexpr int total = 200000;
        DataFilesFixture::addPairs(slot, 0, total);
        const QString file = w.path("busy.csv");
        slot.edExportFile = file;
        slot.controls.autoSave = true;
        SlotUnderTest &other = w.slot(second);
        if (second != 1)
            DataFilesFixture::addPairs(other, 100, 2);
        QString shown;
        // The second save comes while the first one into the same file is halfway.
        QTimer::singleShot(0, [&] {
            if (second == 1) {
                AutoSaveSlot(slot, slot, w.context);
            } else {
                w.dialogs.yesNoAnswers << true;
                w.dialogs.fileAnswers << file;
                ExportPerformanceData(other, other, w.context);
            }
            shown = other.statusBar.panelText(1);
        });
        SavePerformanceData(file, slot, slot, w.context);
        QCOMPARE(shown, "Already being saved: " + file);
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
        QTest::newRow("full device") << "/dev/full" << "0"
                                     << "Cannot write file \"/dev/full\": No space left on device";
    }
    void failedSaveStopsSampling()
    {
        QFETCH(QString, file);
        QFETCH(QString, markerAfter);
        QFETCH(QString, message);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(5);
        DataFilesFixture::addPairs(slot, 0, 3);
        slot.edExFrom = "0";
        slot.tmSample.start();
        if (file == "<folder>") {
            QVERIFY(QDir(w.path("")).mkdir("sub"));
            file = w.path("sub");
        }
        SavePerformanceData(file, slot, slot, w.context);
        QVERIFY(!slot.running());
        QVERIFY2(slot.statusBar.panelText(1).startsWith("Sampling Stopped..." + message),
                 qPrintable(slot.statusBar.panelText(1)));
        // The lines never reached the file, so the marker does not claim them.
        QCOMPARE(slot.edExFrom, markerAfter);
        QVERIFY(w.dialogs.asked.isEmpty());
    }
};

QUINTARO_TEST(PerformanceDataFileTest)
#include "PerformanceDataFileTest.moc"
