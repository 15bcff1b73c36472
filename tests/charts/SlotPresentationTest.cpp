#include "Regional.h"
#include "WindowUnderTest.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"
#include "paMonSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

namespace {

const QDateTime firstSample(QDate(2026, 3, 14), QTime(9, 26, 53));

// The real window, offscreen, in a folder of its own, answering its dialogs from a script.
struct Window : WindowUnderTest {
    explicit Window(const QString &folder) : WindowUnderTest(folder) { window->show(); }
    TChartSlot &slot(int n) { return *window->slotByTag(n); }
    void record(TChartSlot &slot, const QStringList &values)
    {
        for (const QString &value : values) {
            slot.vDateList << Regional::current().formatTimeLine(firstSample.addSecs(3 * slot.vDateList.size()));
            slot.vValueList << value;
        }
    }
};

QList<double> ys(const TChart &chart)
{
    QList<double> points;
    for (int i = 0; i < chart.pointCount(); ++i)
        points << chart.point(i).y();
    return points;
}

void doubleClick(QWidget *widget)
{
    QTest::mouseDClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

} // namespace

class SlotPresentationTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString startDir_ = QDir::currentPath();

private slots:
    void initTestCase() { Regional::setCurrent(Regional(u'/', u':', QStringLiteral("HH:mm:ss"), u'.')); }
    void cleanup() { QDir::setCurrent(startDir_); }

    void everyChartStartsAsRedFastLine()
    {
        Window w(folder_.path());
        for (int n = 1; n <= TfmMonSettings::slotCount; ++n) {
            QCOMPARE(w.slot(n).chrtStatistics->seriesKind(), SeriesKind::FastLine);
            QCOMPARE(w.slot(n).chrtStatistics->seriesColor(), QColor(255, 0, 0));
        }
    }

    void styleChangeRedrawsInTheSlotsOwnColour()
    {
        Window w(folder_.path());
        TChartSlot &slot = w.slot(2);
        w.dialogs->colourAnswers.enqueue(QColor(0, 0, 255));
        QTest::mouseClick(slot.paColor, Qt::LeftButton);
        QCOMPARE(slot.chrtStatistics->seriesColor(), QColor(0, 0, 255));
        QCOMPARE(slot.paColor->palette().color(QPalette::Window), QColor(0, 0, 255));
        QTest::mouseClick(slot.paColor, Qt::LeftButton); // cancelled: nothing changes
        QCOMPARE(w.dialogs->asked, (QStringList{"colour", "colour"}));
        QCOMPARE(slot.chrtStatistics->seriesColor(), QColor(0, 0, 255));

        w.record(slot, {"12345", "12400"});
        slot.cbStyle->setCurrentIndex(slot.cbStyle->findText("Bar"));
        QCOMPARE(slot.chrtStatistics->seriesKind(), SeriesKind::Bar);
        QCOMPARE(slot.chrtStatistics->seriesColor(), QColor(0, 0, 255));
        QCOMPARE(ys(*slot.chrtStatistics), (QList<double>{12345, 12400}));
        QVERIFY(slot.chrtStatistics->footText().startsWith("Statistics for "));

        // Typed text changes nothing, not even the points, though "Line" and "Bar" pass on the way.
        slot.vDateList.clear();
        slot.vValueList.clear();
        slot.cbStyle->lineEdit()->selectAll();
        for (const char key : QByteArray("Lines")) {
            QTest::keyClick(slot.cbStyle, key);
            QCOMPARE(slot.chrtStatistics->seriesKind(), SeriesKind::Bar);
        }
        QCOMPARE(slot.cbStyle->currentText(), QString("Lines"));
        QCOMPARE(slot.chrtStatistics->pointCount(), 2);
        QCOMPARE(w.slot(1).chrtStatistics->seriesKind(), SeriesKind::FastLine);
        QCOMPARE(w.slot(1).chrtStatistics->seriesColor(), QColor(255, 0, 0));
    }

    void marksFollowTheBox()
    {
        Window w(folder_.path());
        TChartSlot &slot = w.slot(3);
        slot.cbMarks->click();
        QVERIFY(slot.chrtStatistics->marksVisible());
        slot.cbMarks->click();
        QVERIFY(!slot.chrtStatistics->marksVisible());
    }

    void clearEmptiesListsAndChartButNotTheRawGrid()
    {
        Window w(folder_.path());
        TChartSlot &slot = w.slot(5);
        w.record(slot, {"1", "2", "3"});
        slot.cbStyle->setCurrentIndex(slot.cbStyle->findText("Line"));
        QCOMPARE(slot.chrtStatistics->pointCount(), 3);
        slot.edExFrom = "2";
        slot.sgRawData->setCells(0, 1, "kept");
        slot.chrtStatistics->setFootText("Performance Analysis");

        slot.bbtClear->click();
        QVERIFY(slot.vDateList.isEmpty());
        QVERIFY(slot.vValueList.isEmpty());
        QCOMPARE(slot.edExFrom, QString());
        QCOMPARE(slot.chrtStatistics->pointCount(), 0);
        QCOMPARE(slot.chrtStatistics->footText(), QString("Statistics for  [Y-Axis is VALUE, X-Axis is TIME]"));
        QCOMPARE(slot.sgRawData->cells(0, 1), QString("kept"));
    }

    void getRawAndDoubleClicksSwapGridAndChart()
    {
        Window w(folder_.path());
        TChartSlot &slot = w.slot(1);
        QWidget *plot = slot.chrtStatistics->findChild<QCustomPlot *>();
        doubleClick(plot); // "Get Raw" not ticked: ignored
        QVERIFY(slot.sgRawData->isHidden());

        slot.cbRawData->click();
        QVERIFY(!slot.sgRawData->isHidden());
        QCOMPARE(slot.sgRawData->geometry(), slot.chrtStatistics->rect());
        QCOMPARE(slot.sgRawData->rowCount(), 2);
        QCOMPARE(slot.sgRawData->colCount(), 5);

        // The body and the title row alike.
        for (QWidget *part : {slot.sgRawData->viewport(), slot.sgRawData->horizontalHeader()->viewport()}) {
            doubleClick(part);
            QVERIFY(slot.sgRawData->isHidden());
            doubleClick(plot);
            QVERIFY(!slot.sgRawData->isHidden());
        }

        slot.cbRawData->click();
        QVERIFY(slot.sgRawData->isHidden());
        doubleClick(plot);
        QVERIFY(slot.sgRawData->isHidden());
        QVERIFY(w.slot(2).sgRawData->isHidden());
    }

    void clearRawKeepsTheColumns()
    {
        Window w(folder_.path());
        TChartSlot &slot = w.slot(4);
        slot.sgRawData->setColCount(8);
        slot.sgRawData->setRowCount(500);
        for (int col = 0; col < 8; ++col)
            for (int row : {0, 1, 250, 499})
                slot.sgRawData->setCells(col, row, "x");
        slot.edExRawFrom = "7";
        slot.bbtClearRawData->click();
        QCOMPARE(slot.sgRawData->rowCount(), 2);
        QCOMPARE(slot.sgRawData->colCount(), 8);
        for (int col = 0; col < 8; ++col)
            for (int row : {0, 1})
                QCOMPARE(slot.sgRawData->cells(col, row), QString());
        QCOMPARE(slot.edExRawFrom, QString());
    }

    void rowIndicatorNamesTheRowBeingLeft_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("afterFirst");
        QTest::addColumn<QString>("afterSecond");
        QTest::newRow("sample time") << "V.T: 12:34:56" << "V.T: 12:34:56 - R: 7" << "V.T: 12:34:56 - R: 12";
        QTest::newRow("failure text cut to 13 characters")
            << "Sampling Stopped...\r\nboom" << "Sampling Stop - R: 7" << "Sampling Stop - R: 12";
        QTest::newRow("short text") << "" << " - R: 7" << " - R: 7 - R: 12";
    }

    void rowIndicatorNamesTheRowBeingLeft()
    {
        QFETCH(QString, panel);
        QFETCH(QString, afterFirst);
        QFETCH(QString, afterSecond);
        Window w(folder_.path());
        TChartSlot &slot = w.slot(6);
        slot.sgRawData->setRowCount(20);
        slot.sgRawData->setRow(7);
        slot.sbStatus->setPanelText(1, panel);
        slot.sgRawData->setRow(12);
        QCOMPARE(slot.sbStatus->panelText(1), afterFirst);
        slot.sgRawData->setRow(3);
        QCOMPARE(slot.sbStatus->panelText(1), afterSecond);
        QVERIFY(w.slot(5).sbStatus->panelText(1).isEmpty());
    }
};

QUINTARO_TEST(SlotPresentationTest)
#include "SlotPresentationTest.moc"
