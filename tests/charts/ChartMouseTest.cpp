#include "OdbcSandbox.h"
#include "Regional.h"
#include "SampleReadout.h"
#include "SampledServer.h"
#include "SampledWindow.h"
#include "ScriptedDialogs.h"
#include "TChart.h"
#include "TChartReadout.h"
#include "TChartSlot.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <limits>
#include <optional>
#include <qcustomplot.h>

namespace {

QCustomPlot *plotOf(const TChartSlot &slot)
{
    return slot.chrtStatistics->findChild<QCustomPlot *>();
}

// Draws what the chart has queued, as the event loop would.
void settle(const TChartSlot &slot)
{
    QCoreApplication::processEvents();
    plotOf(slot)->replot(QCustomPlot::rpImmediateRefresh);
}

QPoint pixelOf(const TChartSlot &slot, int point)
{
    const QCustomPlot *plot = plotOf(slot);
    const QPointF at = slot.chrtStatistics->point(point);
    return QPointF(plot->xAxis->coordToPixel(at.x()), plot->yAxis->coordToPixel(at.y())).toPoint();
}

void send(QWidget *plot, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), plot->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(plot, &event);
}

// The mouse comes to rest over the point.
QString readoutAt(const TChartSlot &slot, int point)
{
    send(plotOf(slot), QEvent::MouseMove, pixelOf(slot, point), Qt::NoButton, Qt::NoButton);
    return slot.chrtStatistics->readout().text();
}

void wheel(const TChartSlot &slot, QPoint at, int notches)
{
    QWidget *plot = plotOf(slot);
    QWheelEvent event(QPointF(at), plot->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &event);
}

void drag(const TChartSlot &slot, QPoint from, QPoint to)
{
    QWidget *plot = plotOf(slot);
    send(plot, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        send(plot, QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton, Qt::LeftButton);
    send(plot, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void rightClick(const TChartSlot &slot, QPoint at)
{
    send(plotOf(slot), QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    send(plotOf(slot), QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
}

QCPRange timeSpan(const TChartSlot &slot)
{
    return plotOf(slot)->xAxis->range();
}

QPoint plotCentre(const TChartSlot &slot)
{
    return plotOf(slot)->axisRect()->rect().center();
}

QString timeLine(int second)
{
    return QStringLiteral("01/02/2026 10:%1:%2").arg(second / 60, 2, 10, QLatin1Char('0')).arg(second % 60, 2, 10, QLatin1Char('0'));
}

// Samples as the tick records and draws them: one line each, appended.
void sample(TChartSlot &slot, int firstSecond, int count)
{
    for (int second = firstSecond; second < firstSecond + count; ++second) {
        slot.vDateList << timeLine(second);
        slot.vValueList << QString::number(second * 10);
        QVERIFY(slot.drawChart(slot.vDateList.size() != 1));
    }
    settle(slot);
    QVERIFY(plotOf(slot)->axisRect()->width() > 200);
}

QString delayed(int delayMs, const QString &value)
{
    return QStringLiteral("waitfor delay '00:00:00.%1' select V=%2").arg(delayMs, 3, 10, QLatin1Char('0')).arg(value);
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ChartMouseTest : public QObject {
    Q_OBJECT

    std::optional<OdbcSandbox> sandbox_;
    std::optional<SampledServer> server_;

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

    void liveReadout_data()
    {
        QTest::addColumn<bool>("delta");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("values") << false << QStringList{"Value: 1500000", "Value: 1500042.5"};
        QTest::newRow("delta") << true << QStringList{"Value: 1500000\nDelta: 0", "Value: 1500042.5\nDelta: 42.5"};
    }

    void liveReadout()
    {
        QFETCH(bool, delta);
        QFETCH(QStringList, values);
        SampledWindow w(server_->dsn);
        TChartSlot &slot = w.slot(1);
        slot.cbDelta->setChecked(delta);
        w.run(slot, delayed(150, "1500000"));
        w.fire(slot);
        w.window->reSQL->setPlainText(delayed(150, "1500042.5"));
        slot.bbtUpdateSQL->click();
        w.fire(slot);
        settle(slot);
        QCOMPARE(slot.chrtStatistics->pointCount(), 2);
        QVERIFY(!slot.chrtStatistics->readout().isShown());

        // Both samples may share a second: each point still reads as its own lines.
        for (int point : {1, 0}) {
            const QStringList lines = readoutAt(slot, point).split(u'\n');
            QCOMPARE(lines.first(), slot.vDateList[point]);
            QCOMPARE(lines.mid(1, lines.size() - 2).join(u'\n'), values[point]);
            const auto roundTrip = slot.roundTrips.at(point, slot.listsGeneration);
            QVERIFY(roundTrip && *roundTrip >= std::chrono::milliseconds(150));
            QCOMPARE(lines.last(), "Round trip: " + SampleReadout::durationText(*roundTrip));
        }
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(plotOf(slot), &leave);
        QVERIFY(!slot.chrtStatistics->readout().isShown());

        // The value panel sums the round trips up; the other panels have no tooltip.
        QVERIFY2(slot.sbStatus->panelToolTip(2).startsWith("Round trip since Run (2 samples)\nlast "),
                 qPrintable(slot.sbStatus->panelToolTip(2)));
        QCOMPARE(slot.sbStatus->panelToolTip(1), QString());
    }

    void readoutLetsDoubleClicksThrough()
    {
        WindowUnderTest w;
        w.window->show();
        TChartSlot &slot = *w.window->slotByTag(1);
        sample(slot, 0, 5);
        QVERIFY(!readoutAt(slot, 2).isEmpty());
        slot.cbRawData->click();
        QVERIFY(!slot.sgRawData->isHidden());
        QTest::mouseDClick(slot.sgRawData->viewport(), Qt::LeftButton, {}, slot.sgRawData->viewport()->rect().center());
        QVERIFY(slot.sgRawData->isHidden());
        // Right on the point, where ring and label lie.
        QVERIFY(!readoutAt(slot, 2).isEmpty());
        QTest::mouseDClick(plotOf(slot), Qt::LeftButton, {}, pixelOf(slot, 2));
        QVERIFY(!slot.sgRawData->isHidden());
        QCOMPARE(slot.chrtStatistics->pointCount(), 5);
    }

    void loadedReadout_data()
    {
        QTest::addColumn<bool>("delta");
        QTest::addColumn<QStringList>("texts");
        // Points in time order, from lines out of it; the line with no value draws none.
        QTest::newRow("values") << false
                                << QStringList{"01/02/2026 10:00:01\nValue: 1500000",
                                               "01/02/2026 10:00:03\nValue: 0.3", "01/02/2026 10:00:05\nValue: 7"};
        QTest::newRow("delta") << true
                               << QStringList{"01/02/2026 10:00:01\nValue: 1500000\nDelta: 1499993",
                                              "01/02/2026 10:00:03\nValue: 0.3\nDelta: 0.2",
                                              "01/02/2026 10:00:05\nValue: 7\nDelta: 0"};
    }

    void loadedReadout()
    {
        QFETCH(bool, delta);
        QFETCH(QStringList, texts);
        WindowUnderTest w;
        w.window->show();
        writeFile(w.file("loaded.csv"), "Date,Queue\r\n01/02/2026 10:00:05,7\r\n01/02/2026 10:00:01,1500000\r\n"
                                        "01/02/2026 10:00:04,\r\n01/02/2026 10:00:02,0.1\r\n"
                                        "01/02/2026 10:00:03,0.3\r\n");
        TChartSlot &slot = *w.window->slotByTag(1);
        slot.cbDelta->setChecked(delta);
        w.dialogs->fileAnswers << w.file("loaded.csv");
        slot.bbtLoad->click();
        settle(slot);
        QCOMPARE(slot.chrtStatistics->pointCount(), 4);
        // The point at 10:00:02, with nothing before it to subtract, lies between the others.
        QStringList shown;
        for (int point : {0, 2, 3})
            shown << readoutAt(slot, point);
        QCOMPARE(shown, texts);
    }

    void zoomedViewStaysWhileSamplesArriveUntilRightClick()
    {
        WindowUnderTest w;
        w.window->show();
        TChartSlot &slot = *w.window->slotByTag(1);
        sample(slot, 0, 60);
        QVERIFY(slot.chrtStatistics->followsNewest());
        QCOMPARE(timeSpan(slot).upper, slot.chrtStatistics->point(59).x());

        // The wheel zooms around the cursor: the time under it stays under it.
        const QPoint cursor = plotCentre(slot) + QPoint(40, 0);
        const double underCursor = plotOf(slot)->xAxis->pixelToCoord(cursor.x());
        wheel(slot, cursor, 3);
        settle(slot);
        QVERIFY(!slot.chrtStatistics->followsNewest());
        const QCPRange zoomed = timeSpan(slot);
        QVERIFY(zoomed.size() < 59 * 0.6);
        QVERIFY(std::abs(plotOf(slot)->xAxis->pixelToCoord(cursor.x()) - underCursor) < 0.01);

        // New samples come and are kept, but the view stays where it was put.
        sample(slot, 60, 20);
        QCOMPARE(slot.chrtStatistics->pointCount(), 80);
        QCOMPARE(timeSpan(slot), zoomed);

        // A drag pans by the pixels moved; the values fit what is in view.
        const double secondsPerPixel = zoomed.size() / plotOf(slot)->axisRect()->width();
        drag(slot, plotCentre(slot), plotCentre(slot) + QPoint(100, 0));
        settle(slot);
        QVERIFY(!slot.chrtStatistics->followsNewest());
        QVERIFY(std::abs(timeSpan(slot).lower - (zoomed.lower - 100 * secondsPerPixel)) < 1e-6);
        double lowestInView = std::numeric_limits<double>::infinity();
        double highestInView = -lowestInView;
        for (int point = 0; point < slot.chrtStatistics->pointCount(); ++point) {
            const QPointF at = slot.chrtStatistics->point(point);
            if (timeSpan(slot).contains(at.x())) {
                lowestInView = std::min(lowestInView, at.y());
                highestInView = std::max(highestInView, at.y());
            }
        }
        const QCPRange values = plotOf(slot)->yAxis->range();
        QVERIFY(values.contains(lowestInView) && values.contains(highestInView));
        const double room = (highestInView - lowestInView) * 0.1;
        QVERIFY2(values.lower > lowestInView - room && values.upper < highestInView + room,
                 qPrintable(QStringLiteral("%1 .. %2").arg(values.lower).arg(values.upper)));

        // A right click follows the newest sample again, and the next one after it.
        rightClick(slot, plotCentre(slot));
        settle(slot);
        QVERIFY(slot.chrtStatistics->followsNewest());
        QCOMPARE(timeSpan(slot).upper, slot.chrtStatistics->point(79).x());
        sample(slot, 80, 1);
        QCOMPARE(timeSpan(slot).upper, slot.chrtStatistics->point(80).x());
        QCOMPARE(timeSpan(slot).lower, slot.chrtStatistics->point(0).x());
    }

    void zoomedViewAfter_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("follows");
        QTest::newRow("a style change") << "style" << false;
        QTest::newRow("a plain click") << "click" << false;
        QTest::newRow("zooming out past every point") << "wheel out" << true;
        QTest::newRow("Clear and a sample") << "clear" << true;
        QTest::newRow("Load") << "load" << true;
    }

    void zoomedViewAfter()
    {
        QFETCH(QString, action);
        QFETCH(bool, follows);
        WindowUnderTest w;
        w.window->show();
        TChartSlot &slot = *w.window->slotByTag(1);
        sample(slot, 0, 30);
        wheel(slot, plotCentre(slot), 4);
        settle(slot);
        const QCPRange zoomed = timeSpan(slot);
        QVERIFY(!slot.chrtStatistics->followsNewest());

        if (action == "style") {
            slot.cbStyle->setCurrentIndex(2);
            QCOMPARE(slot.chrtStatistics->seriesKind(), SeriesKind::Bar);
        } else if (action == "click") {
            QTest::mouseClick(plotOf(slot), Qt::LeftButton, {}, plotCentre(slot));
        } else if (action == "wheel out") {
            wheel(slot, plotCentre(slot), -30);
        } else if (action == "clear") {
            slot.bbtClear->click();
            sample(slot, 100, 1);
        } else if (action == "load") {
            writeFile(w.file("other.csv"), "Date,V\r\n02/02/2026 11:00:00,1\r\n02/02/2026 11:00:30,2\r\n");
            w.dialogs->fileAnswers << w.file("other.csv");
            slot.bbtLoad->click();
        }
        settle(slot);
        QCOMPARE(slot.chrtStatistics->followsNewest(), follows);
        if (!follows)
            QCOMPARE(timeSpan(slot), zoomed);
        else
            QVERIFY(timeSpan(slot).contains(slot.chrtStatistics->point(slot.chrtStatistics->pointCount() - 1).x()));
    }
};

QUINTARO_TEST(ChartMouseTest)
#include "ChartMouseTest.moc"
