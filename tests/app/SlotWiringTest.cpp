#include "OdbcSandbox.h"
#include "PerformanceDataFile.h"
#include "Regional.h"
#include "SampledServer.h"
#include "SampledWindow.h"
#include "ScriptedDialogs.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"
#include "WindowUnderTest.h"
#include "paMonSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>

namespace {

const QString counter = QStringLiteral("select Transactions from master..monState");
const QString threeRowsOfFour =
    QStringLiteral("select 1 A, 2 B, 3 C, 4 D union all select 5, 6, 7, 8 union all select 9, 10, 11, 12");
// The window active with the focus in a box of its control strip, where a user types.
void focusIn(TfmMonSettings &window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edDB->setFocus();
}

void typeEscape(TfmMonSettings &window)
{
    QTest::keyClick(window.edDB, Qt::Key_Escape);
}

// The chart's Y values in X order.
QList<double> plotted(const TChartSlot &slot)
{
    QList<double> ys;
    for (int i = 0; i < slot.chrtStatistics->pointCount(); ++i)
        ys << slot.chrtStatistics->point(i).y();
    return ys;
}

double number(QStringView text)
{
    return Regional::current().parseNumber(text).value();
}

QStringList rowOf(const TStringGrid &grid, int row, int columns)
{
    QStringList cells;
    for (int col = 0; col < columns; ++col)
        cells << grid.cells(col, row);
    return cells;
}

// The pairs "01/02/2026 <ten o'clock and i seconds>" and "<i>.5" for i in [first, first + count).
QString pairDate(int i)
{
    return QStringLiteral("01/02/2026 %1:%2:%3")
        .arg(10 + i / 3600, 2, 10, QLatin1Char('0'))
        .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}
void addPairs(TChartSlot &slot, int first, int count)
{
    for (int i = first; i < first + count; ++i) {
        slot.vDateList.append(pairDate(i));
        slot.vValueList.append(QString::number(i) + QStringLiteral(".5"));
    }
}
QByteArray pairLines(int first, int count)
{
    QByteArray lines;
    for (int i = first; i < first + count; ++i)
        lines += (pairDate(i) + QStringLiteral(",%1.5\r\n").arg(i)).toLatin1();
    return lines;
}
QByteArray readBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Notes whether a box was ticked each time a file to save is asked for.
class BoxWatchingDialogs : public ScriptedDialogs {
public:
    explicit BoxWatchingDialogs(const QCheckBox &box) : box_(box) {}
    QString chooseSaveFile(QWidget *owner) override
    {
        tickedWhenAsked << box_.isChecked();
        return ScriptedDialogs::chooseSaveFile(owner);
    }
    QList<bool> tickedWhenAsked;

private:
    const QCheckBox &box_;
};

} // namespace

// The window's controls reach the slot they belong to, and what sampling, raw capture and the
// data files do shows in the slot's real widgets: chart, style box, raw grid, status bar.
class SlotWiringTest : public QObject {
    Q_OBJECT

    std::optional<OdbcSandbox> sandbox_;
    std::optional<SampledServer> server_;

    QString dsn() const { return server_->dsn; }

private slots:
    void initTestCase()
    {
        Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.'));
        sandbox_.emplace();
        server_.emplace(*sandbox_);
        QVERIFY(server_->server.isRunning());
    }

    void cleanupTestCase()
    {
        server_.reset();
        sandbox_.reset();
    }

    void runWithAnEmptyQueryBoxLeavesTheSlotAlone()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(1);
        w.window->sbStatus->setPanelText(2, "old message");
        w.run(slot, " \t\r\n");
        QCOMPARE(w.window->sbStatus->panelText(2), QString());
        QVERIFY(!slot.running());
        QVERIFY(slot.cbStyle->isEnabled());
    }

    void runStopShowAndUpdateButtonsDriveTheirSlot()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(2);
        slot.cbMarks->setChecked(true); // not clicked: Run applies it
        w.run(slot, "select V=1");
        QCOMPARE(slot.vSQL, QString("select V=1"));
        QVERIFY(slot.tmSample.isActive());
        QVERIFY(!slot.cbStyle->isEnabled());
        QVERIFY(slot.chrtStatistics->marksVisible());
        QCOMPARE(slot.sbStatus->panelText(1), "Connected to " + dsn());
        QVERIFY(!w.window->dblocal->connected()); // the slot's own connection: no Connect made
        QVERIFY(!w.slot(1).running());

        // A later change of the query box does not reach the slot until Update SQL.
        w.window->reSQL->setPlainText("select W=2");
        slot.bbtStopSampling->click();
        QVERIFY(!slot.running());
        QVERIFY(slot.cbStyle->isEnabled());
        slot.bbtStartSampling->click();
        w.settle();
        QVERIFY(slot.running());
        QCOMPARE(slot.vSQL, QString("select V=1"));
        slot.bbtUpdateSQL->click();
        QCOMPARE(slot.vSQL, QString("select W=2"));
        w.window->reSQL->setPlainText("something else");
        slot.bbtShowSQL->click();
        QCOMPARE(w.window->reSQL->toPlainText(), QString("select W=2"));
        w.slot(3).bbtShowSQL->click(); // a slot that never ran empties the box
        QCOMPARE(w.window->reSQL->toPlainText(), QString());
    }

    void failedRunKeepsTheStyleLockedUntilStop()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(6);
        w.run(slot, "select V=1");
        QVERIFY(slot.running());
        slot.cbSameConn->setChecked(false);
        w.window->edSRV->setEditText("no-such-dsn");
        slot.bbtStartSampling->click();
        w.settle();
        QVERIFY2(slot.sbStatus->panelText(1).startsWith("Brrr... "), qPrintable(slot.sbStatus->panelText(1)));
        QVERIFY(!slot.running());
        QVERIFY(!slot.cbStyle->isEnabled());
        slot.bbtStopSampling->click();
        QVERIFY(slot.cbStyle->isEnabled());
    }

    void passwordBoxReachesTheLogin()
    {
        SimServer::Options guarded;
        guarded.password = "secret";
        SampledServer server(*sandbox_, guarded);
        QVERIFY(server.server.isRunning());
        SampledWindow w(server.dsn);
        TChartSlot &slot = w.slot(5);
        w.window->edPassword->setText("wrong");
        w.run(slot, "select V=1");
        QVERIFY2(slot.sbStatus->panelText(1).startsWith("Brrr... "), qPrintable(slot.sbStatus->panelText(1)));
        QVERIFY(!slot.running());
        QVERIFY(slot.cbStyle->isEnabled());

        w.window->edPassword->setText("secret");
        slot.bbtStartSampling->click();
        w.settle();
        QVERIFY(slot.running());
        QCOMPARE(slot.sbStatus->panelText(1), "Connected to " + server.dsn);
    }

    void samplesReachTheChart()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(1);
        w.run(slot, counter);
        for (int tick = 0; tick < 3; ++tick)
            w.fire(slot);
        QCOMPARE(slot.vValueList.size(), 3);
        const QList<double> values{number(slot.vValueList[0]), number(slot.vValueList[1]), number(slot.vValueList[2])};
        QVERIFY(values[0] > 10000);
        // Every value drawn as sampled, the first (drawn alone) too.
        QCOMPARE(plotted(slot), values);
        QCOMPARE(slot.edValueName->text(), QString("Transactions"));
        QCOMPARE(slot.chrtStatistics->footText(),
                 QString("Statistics for Transactions [Y-Axis is VALUE, X-Axis is TIME]"));
        QCOMPARE(slot.sbStatus->panelText(2), "L.V: " + slot.vValueList.last());

        // Stop, restyle (a rebuild draws the same points), Run: the same lists go on.
        slot.bbtStopSampling->click();
        slot.cbStyle->setCurrentIndex(slot.cbStyle->findText("Line"));
        QCOMPARE(plotted(slot), values);
        slot.bbtStartSampling->click();
        w.settle();
        w.fire(slot);
        QCOMPARE(slot.vValueList.size(), 4);
        QCOMPARE(slot.chrtStatistics->pointCount(), 4);
        QCOMPARE(slot.chrtStatistics->seriesKind(), SeriesKind::Line);

        // After Clear the next sample is drawn alone again.
        slot.bbtClear->click();
        w.fire(slot);
        QCOMPARE(slot.vValueList.size(), 1);
        QCOMPARE(plotted(slot), QList<double>{number(slot.vValueList[0])});
    }

    void deltaLiveEqualsRebuild()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(2);
        slot.cbDelta->setChecked(true);
        w.run(slot, "select Selects from master..monState");
        for (int tick = 0; tick < 4; ++tick) {
            w.fire(slot);
            QTest::qWait(20); // lets the counter move
        }
        QCOMPARE(slot.vValueList.size(), 4);
        QList<double> deltas{0};
        for (int i = 1; i < 4; ++i)
            deltas << number(slot.vValueList[i]) - number(slot.vValueList[i - 1]);
        QCOMPARE(plotted(slot), deltas);
        slot.bbtStopSampling->click();
        slot.cbStyle->setCurrentIndex(slot.cbStyle->findText("Point"));
        QCOMPARE(plotted(slot), deltas);
    }

    void sixSlotsPlotTheirOwnValues()
    {
        SampledWindow w(dsn());
        for (int n = 1; n <= TfmMonSettings::slotCount; ++n)
            w.run(w.slot(n), QString("select V%1=%1").arg(n));
        for (int round = 0; round < 2; ++round) {
            for (int n : {6, 2, 4, 1, 5, 3})
                QVERIFY(QMetaObject::invokeMethod(&w.slot(n).tmSample, "timeout"));
            w.settle();
        }
        for (int n = 1; n <= TfmMonSettings::slotCount; ++n) {
            TChartSlot &slot = w.slot(n);
            QCOMPARE(plotted(slot), (QList<double>{double(n), double(n)}));
            QCOMPARE(slot.edValueName->text(), QString("V%1").arg(n));
            QCOMPARE(slot.sbStatus->panelText(2), QString("L.V: %1").arg(n));
        }
    }

    void valueThatIsNotANumberStopsTheSlotKeepingItsLines()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(3);
        w.run(slot, "select V=1");
        w.fire(slot);
        w.window->reSQL->setPlainText("select V='abc'");
        slot.bbtUpdateSQL->click();
        w.fire(slot);
        QVERIFY(!slot.running());
        QCOMPARE(slot.vValueList.toStringList(), (QStringList{"1", "abc"}));
        QVERIFY2(slot.sbStatus->panelText(1).startsWith("Sampling Stopped...\r\n"), qPrintable(slot.sbStatus->panelText(1)));
        QVERIFY(slot.sbStatus->panelText(1).contains("'abc'"));
        QCOMPARE(slot.sbStatus->panelText(2), QString("L.V: abc"));
        QCOMPARE(slot.chrtStatistics->pointCount(), 1);
        QVERIFY(!slot.cbStyle->isEnabled()); // halted, not stopped
    }

    void escapeKeyStopsValuesInEverySlotUntilRun()
    {
        SampledWindow w(dsn());
        TChartSlot &first = w.slot(1);
        TChartSlot &second = w.slot(2);
        w.run(first, "select V=1");
        w.run(second, "select W=2");
        w.fire(first);
        w.fire(second);
        focusIn(*w.window);
        typeEscape(*w.window);
        QVERIFY(w.window->state.bAbort);
        for (TChartSlot *slot : {&first, &second}) {
            slot->sbStatus->setPanelText(1, QString());
            w.fire(*slot);
            QCOMPARE(slot->vValueList.size(), 1);
            QVERIFY(slot->sbStatus->panelText(1).startsWith("V.T: "));
            QVERIFY(slot->running());
        }
        first.bbtStartSampling->click(); // any Run clears the flag for every slot
        w.settle();
        w.fire(second);
        QCOMPARE(second.vValueList.toStringList(), (QStringList{"2", "2"}));
    }

    void rawGridFollowsTheCapture()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(1);
        slot.cbRawData->click();
        QVERIFY(!slot.sgRawData->isHidden());
        w.run(slot, threeRowsOfFour);
        w.fire(slot);
        TStringGrid &grid = *slot.sgRawData;
        QCOMPARE(grid.row(), 4);
        // The row indicator keeps "V.T: " and the eight-character time.
        const QString sampleTime = slot.sbStatus->panelText(1);
        QCOMPARE(sampleTime.size(), 13);
        grid.setRow(2);
        QCOMPARE(slot.sbStatus->panelText(1), sampleTime + " - R: 4");
        grid.setRow(1);
        QCOMPARE(slot.sbStatus->panelText(1), sampleTime + " - R: 2");

        w.fire(slot);
        QCOMPARE(grid.row(), 7);
        QCOMPARE(grid.rowCount(), 1 + 6 + 1);
        QCOMPARE(grid.colCount(), 4);
        QCOMPARE(rowOf(grid, 0, 4), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(rowOf(grid, 6, 4), (QStringList{"9", "10", "11", "12"}));
        QCOMPARE(rowOf(grid, 7, 4), QStringList(4, QString()));
        QVERIFY(w.slot(2).sgRawData->cells(0, 0).isEmpty());
    }

    void captureGoesOnWhileTheGridIsHiddenAndAfterClearRaw()
    {
        SampledWindow w(dsn());
        TChartSlot &slot = w.slot(5);
        slot.cbRawData->click();
        slot.sgRawData->dblClick();
        QVERIFY(slot.sgRawData->isHidden());
        w.run(slot, "select A=1");
        w.fire(slot);
        QCOMPARE(slot.sgRawData->rowCount(), 3);

        slot.bbtClearRawData->click();
        w.fire(slot);
        QCOMPARE(slot.sgRawData->rowCount(), 3);
        QCOMPARE(rowOf(*slot.sgRawData, 0, 1), QStringList{"A"});
        QCOMPARE(rowOf(*slot.sgRawData, 1, 1), QStringList{"1"});

        // Unticked: capture stops, the rows stay.
        slot.cbRawData->click();
        w.fire(slot);
        QCOMPARE(slot.sgRawData->rowCount(), 3);
        QCOMPARE(slot.vValueList.size(), 3);
    }

    void saveTimerRunsFromCreationEveryFiveMinutes()
    {
        WindowUnderTest w;
        QVERIFY(w.window->tmSave.isActive());
        QCOMPARE(w.window->tmSave.interval(), 300000);
    }

    void saveTimerSavesEverySlotWithAutoSaveTicked()
    {
        WindowUnderTest w;
        TChartSlot &unticked = *w.window->slotByTag(1);
        TChartSlot &noNames = *w.window->slotByTag(3);
        QList<TChartSlot *> ticked{w.window->slotByTag(2), w.window->slotByTag(6)};
        for (TChartSlot *slot : {&unticked, &noNames, ticked[0], ticked[1]})
            addPairs(*slot, 0, 2);
        unticked.edExportFile = w.file("p1.csv");
        noNames.cbAutoSave->setChecked(true);
        for (TChartSlot *slot : ticked) {
            slot->cbAutoSave->setChecked(true);
            slot->edExportFile = w.file(QString("p%1.csv").arg(slot->number()));
            slot->edExportRawFile = w.file(QString("r%1.txt").arg(slot->number()));
            slot->vRawData.setGridColCount(1);
            slot->vRawData.setGridRowCount(3);
            slot->vRawData.setCell(0, 0, "c");
            slot->vRawData.setCell(0, 1, QString::number(slot->number()));
        }

        QVERIFY(QMetaObject::invokeMethod(&w.window->tmSave, "timeout"));
        for (TChartSlot *slot : ticked) {
            QCOMPARE(readBytes(slot->edExportFile), "Date,Value\r\n" + pairLines(0, 2));
            QCOMPARE(readBytes(slot->edExportRawFile), "c\r\n" + QByteArray::number(slot->number()) + "\r\n");
        }
        QVERIFY(!QFile::exists(unticked.edExportFile));
        QVERIFY(w.dialogs->asked.isEmpty());
        // The last ticked slot's raw save comes last, so its text is the one left.
        QCOMPARE(w.window->sbStatus->panelText(2), "Saved Raw Performance Data to " + ticked[1]->edExportRawFile);
    }

    void autoSaveBoxChoosesItsSlotsTarget_data()
    {
        QTest::addColumn<bool>("getRaw");
        QTest::newRow("performance data") << false;
        QTest::newRow("raw data") << true;
    }

    void autoSaveBoxChoosesItsSlotsTarget()
    {
        QFETCH(bool, getRaw);
        WindowUnderTest w;
        TChartSlot &slot = *w.window->slotByTag(4);
        auto watching = std::make_unique<BoxWatchingDialogs>(*slot.cbAutoSave);
        BoxWatchingDialogs &dialogs = *watching;
        w.window->setDialogs(std::move(watching));
        w.dialogs = &dialogs;
        slot.cbRawData->setChecked(getRaw);
        slot.edExportFile = "earlier.csv";
        slot.edExportRawFile = "earlier.txt";
        const QString file = w.file("auto");
        dialogs.fileAnswers << file;
        slot.cbAutoSave->click();
        QVERIFY(slot.cbAutoSave->isChecked());
        QCOMPARE(dialogs.asked, QStringList{"save"});
        QCOMPARE(dialogs.tickedWhenAsked, QList<bool>{true}); // asked once the box has changed
        QCOMPARE(slot.edExportFile, getRaw ? QString("earlier.csv") : file);
        QCOMPARE(slot.edExportRawFile, getRaw ? file : QString("earlier.txt"));
        QCOMPARE(w.window->sbStatus->panelText(2), "F: " + file);
        for (int n : {1, 2, 3, 5, 6}) {
            QVERIFY(!w.window->slotByTag(n)->cbAutoSave->isChecked());
            QVERIFY(w.window->slotByTag(n)->edExportFile.isEmpty());
        }

        // Unticking asks nothing and keeps both names.
        slot.cbAutoSave->click();
        QVERIFY(!slot.cbAutoSave->isChecked());
        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(getRaw ? slot.edExportRawFile : slot.edExportFile, file);
    }

    void cancellingTheAutoSaveFileUnticksTheBox()
    {
        WindowUnderTest w;
        TChartSlot &slot = *w.window->slotByTag(1);
        slot.cbAutoSave->click();
        QVERIFY(!slot.cbAutoSave->isChecked());
        QCOMPARE(w.dialogs->asked, QStringList{"save"});
        QCOMPARE(w.window->sbStatus->panelText(2), QString("Select File to Save Data..."));
        QVERIFY(slot.edExportFile.isEmpty() && slot.edExportRawFile.isEmpty());
    }

    void exportButtonsSaveTheirOwnSlot()
    {
        WindowUnderTest w;
        TChartSlot &exported = *w.window->slotByTag(3);
        TChartSlot &rawExported = *w.window->slotByTag(2);
        // Slot 1 holds lines and rows too, so that a button reaching the wrong slot shows.
        TChartSlot &other = *w.window->slotByTag(1);
        addPairs(exported, 0, 2);
        addPairs(other, 10, 2);
        for (TChartSlot *slot : {&rawExported, &other}) {
            slot->vRawData.setGridColCount(2);
            slot->vRawData.setGridRowCount(3);
            slot->vRawData.setCell(0, 0, "id");
            slot->vRawData.setCell(1, 0, "name");
            slot->vRawData.setCell(0, 1, QString::number(slot->number()));
            slot->vRawData.setCell(1, 1, "a");
        }

        const QString file = w.file("perf.csv");
        w.dialogs->yesNoAnswers << true << false;
        w.dialogs->fileAnswers << file;
        exported.bbtExport->click();
        QCOMPARE(readBytes(file), "Date,Value\r\n" + pairLines(0, 2));
        QCOMPARE(exported.edExportFile, file);
        QCOMPARE(exported.sbStatus->panelText(1), QString("Data Saved..."));
        QVERIFY(other.edExportFile.isEmpty() && other.sbStatus->panelText(1).isEmpty());

        const QString rawFile = w.file("raw.txt");
        w.dialogs->asked.clear();
        w.dialogs->yesNoAnswers << true << false;
        w.dialogs->fileAnswers << rawFile;
        rawExported.bbtExportRawData->click();
        QCOMPARE(w.dialogs->asked, (QStringList{"question: Export Raw Data to csv file?", "save",
                                                "question: Raw Performance Saved Data to " + rawFile + "\r\nOpen File?"}));
        // The separator box's "^" joins the cells.
        QCOMPARE(readBytes(rawFile), QByteArray("id^name\r\n2^a\r\n"));
        QCOMPARE(rawExported.edExportRawFile, rawFile);
        QCOMPARE(rawExported.sbStatus->panelText(1), QString("Data Saved..."));
        QVERIFY(other.edExportRawFile.isEmpty() && other.sbStatus->panelText(1).isEmpty());
    }

    void loadButtonOfSlotSixFillsSlotSix()
    {
        WindowUnderTest w;
        const QString file = w.file("in.csv");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("Date,Value\r\n01/02/2026 10:00:00,1\r\n");
        out.close();
        w.dialogs->fileAnswers << file;
        w.window->slotByTag(6)->bbtLoad->click();
        QCOMPARE(w.dialogs->asked, QStringList{"open"});
        QCOMPARE(w.window->slotByTag(6)->vValueList.toStringList(), QStringList{"1"});
        for (int n = 1; n < 6; ++n)
            QVERIFY(w.window->slotByTag(n)->vValueList.isEmpty());
    }

    void escapeTypedDuringALongSaveStopsIt()
    {
        WindowUnderTest w;
        focusIn(*w.window);
        TChartSlot &slot = *w.window->slotByTag(1);
        constexpr int total = 300000;
        addPairs(slot, 0, total);
        const QString file = w.file("esc.csv");
        w.dialogs->yesNoAnswers << true << false;
        w.dialogs->fileAnswers << file;
        // The key arrives while the save lets pending events run.
        QTimer::singleShot(0, w.window.get(), [&w] { typeEscape(*w.window); });
        slot.bbtExport->click();

        const qsizetype written = readBytes(file).count('\n') - 1;
        QVERIFY2(written > 0 && written < total, qPrintable(QString::number(written)));
        QCOMPARE(slot.edExFrom, QString::number(written - 1));
        QCOMPARE(slot.sbStatus->panelText(1), QString("Data Saved..."));
        QCOMPARE(w.dialogs->asked, (QStringList{"question: Export Data to csv file?", "save",
                                                "question: Performance Data Saved to " + file + "\r\nOpen File?"}));

        // The next save resumes after the marker: every pair once, none lost.
        SavePerformanceData(file, slot, slot, w.window->context());
        QVERIFY(readBytes(file) == "Date,Value\r\n" + pairLines(0, total));
    }

    void loadReachesTheChart()
    {
        WindowUnderTest w;
        TChartSlot &source = *w.window->slotByTag(1);
        source.edValueName->setText("Größe €");
        addPairs(source, 0, 3);
        source.vDateList << u"01/02/2026 10:00:03";
        source.vValueList << u"a,b";
        addPairs(source, 4, 46);
        const QString file = w.file("trip.csv");
        SavePerformanceData(file, source, source, w.window->context());

        TChartSlot &target = *w.window->slotByTag(2);
        w.dialogs->fileAnswers << file;
        target.bbtLoad->click();
        QCOMPARE(target.vValueList.toStringList(), source.vValueList.toStringList());
        // The chart is rebuilt from the loaded lists; "a,b" is no number and stops the redraw there.
        QCOMPARE(target.chrtStatistics->pointCount(), 3);
        QCOMPARE(target.chrtStatistics->point(2).y(), 2.5);
        QCOMPARE(target.chrtStatistics->titleText(),
                 "Statistics for Größe € taken from " + source.vDateList.first() + " to "
                     + source.vDateList.last());
    }

    void failedLoadKeepsTheChart_data()
    {
        QTest::addColumn<bool>("abortLeftSet");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("flag left from Escape") << true << "in.csv";
        QTest::newRow("missing file") << false << "missing.csv";
    }

    void failedLoadKeepsTheChart()
    {
        QFETCH(bool, abortLeftSet);
        QFETCH(QString, fileName);
        WindowUnderTest w;
        QFile out(w.file("in.csv"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("Date,Value\r\n01/02/2026 10:00:00,1\r\n");
        out.close();
        TChartSlot &slot = *w.window->slotByTag(1);
        addPairs(slot, 0, 2);
        slot.chrtStatistics->setTitleText("old");
        QVERIFY(slot.drawChart(false));
        w.window->state.bAbort = abortLeftSet;
        w.dialogs->fileAnswers << w.file(fileName);
        slot.bbtLoad->click();
        QCOMPARE(slot.chrtStatistics->titleText(), QString("old"));
        QCOMPARE(slot.chrtStatistics->pointCount(), 2);
    }
};

QUINTARO_TEST(SlotWiringTest)
#include "SlotWiringTest.moc"
