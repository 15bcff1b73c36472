// Opens the window in one of the states a user reaches by dragging and clicking, for
// scripts/screenshot: six-panes, folded (strips folded too), collapsed (the "..." panel),
// raw-grid (slot 1 showing captured rows), loaded (slot 1 showing a saved data file) or readout
// (slot 1 zoomed in, in delta mode, with the mouse resting on a point).
#include "Regional.h"
#include "TApplication.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TDialogs.h"
#include "TFoldPicture.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TextFile.h"
#include "paMonSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <qcustomplot.h>

#include <QDateTime>
#include <QSplitter>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

int total(const QList<int> &sizes)
{
    int sum = 0;
    for (int size : sizes)
        sum += size;
    return sum;
}

void openPanes(TfmMonSettings &w, int leftWidth)
{
    w.columns->setSizes({leftWidth, total(w.columns->sizes()) - leftWidth});
    for (QSplitter *panes : {w.leftPanes, w.rightPanes}) {
        const int third = total(panes->sizes()) / 3;
        panes->setSizes({third, third, total(panes->sizes()) - 2 * third});
    }
    // A few minutes of made-up samples, so each pane shows a curve of its own.
    const QDateTime start = QDateTime::currentDateTime().addSecs(-600);
    for (int n = 1; n <= TfmMonSettings::slotCount; ++n) {
        TChartSlot &slot = *w.slotByTag(n);
        slot.sbStatus->setPanelText(1, QStringLiteral("slot %1").arg(n));
        for (int i = 0; i < 200; ++i)
            slot.chrtStatistics->addXY(start.addSecs(3 * i), 50 + 40 * std::sin(i / (4.0 + n)) + (i * n) % 7);
    }
}

// Rows as a capture of "select @@spid SPID, Transactions, Connections from master..monState"
// with the time column leaves them.
void showRawGrid(TfmMonSettings &w)
{
    TChartSlot &slot = *w.slotByTag(1);
    TStringGrid &grid = *slot.sgRawData;
    const QStringList titles = {"SPID", "Transactions", "Connections", "Time"};
    grid.setColCount(int(titles.size()));
    for (int col = 0; col < titles.size(); ++col)
        grid.setCells(col, 0, titles[col]);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-90);
    for (int i = 0; i < 30; ++i) {
        const int row = grid.rowCount() - 1;
        grid.setCells(0, row, "51");
        grid.setCells(1, row, QString::number(1501726 + 45 * i + (i * 7) % 5));
        grid.setCells(2, row, QString::number(25 + i % 4));
        grid.setCells(3, row, Regional::current().formatTimeLine(start.addSecs(3 * i)));
        grid.setRowCount(row + 2);
    }
    slot.cbRawData->click();
}

// Answers the open dialog with one file; every other box stays unanswered.
class OpenFileAnswer : public TDialogs {
public:
    explicit OpenFileAnswer(QString file) : file_(std::move(file)) {}
    void showError(QWidget *, const QString &) override {}
    void showInformation(QWidget *, const QString &) override {}
    bool askYesNo(QWidget *, const QString &) override { return false; }
    QString chooseOpenFile(QWidget *) override { return file_; }
    QString chooseSaveFile(QWidget *) override { return {}; }
    std::optional<QColor> chooseColor(QWidget *) override { return std::nullopt; }

private:
    QString file_;
};

// An hour of a saved counter, loaded into slot 1 through its Load button.
void loadSavedFile(TfmMonSettings &w)
{
    QStringList lines = {"Date,Batch Requests/sec"};
    const QDateTime start = QDateTime::currentDateTime().addSecs(-3600);
    for (int i = 0; i < 1200; ++i)
        lines << Regional::current().formatTimeLine(start.addSecs(3 * i)) + ","
                     + QString::number(int(800 + 300 * std::sin(i / 60.0) + (i * 37) % 90));
    const QString file = QStringLiteral("BatchRequests.csv");
    TextFile::write(file, lines);
    w.setDialogs(std::make_unique<OpenFileAnswer>(file));
    w.slotByTag(1)->bbtLoad->click();
}

// Ten minutes of a counter sampled every 3 s, each sample with its round trip, drawn in delta
// mode; the wheel zooms in on the last minutes and the mouse comes to rest on a point.
void restOnAPoint(TfmMonSettings &w)
{
    TChartSlot &slot = *w.slotByTag(1);
    slot.edValueName->setText(QStringLiteral("Transactions"));
    slot.cbDelta->setChecked(true);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-600);
    qint64 counter = 1501726;
    for (int i = 0; i < 200; ++i) {
        counter += 40 + int(25 * std::sin(i / 7.0)) + (i * 13) % 11;
        slot.vDateList << Regional::current().formatTimeLine(start.addSecs(3 * i));
        slot.vValueList << QString::number(counter);
        slot.roundTrips.record(i, slot.listsGeneration, std::chrono::microseconds(1800 + (i * 7919) % 2500));
        slot.roundTripSummary.add(std::chrono::microseconds(1800 + (i * 7919) % 2500));
    }
    slot.drawChart(false);
    auto *plot = slot.chrtStatistics->findChild<QCustomPlot *>();
    QTimer::singleShot(200, plot, [plot, &slot] {
        const QPointF right = plot->axisRect()->rect().topRight() + QPoint(-20, 40);
        QWheelEvent zoom(right, plot->mapToGlobal(right), QPoint(), QPoint(0, 120 * 4), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &zoom);
        plot->replot();
        const QPointF point = slot.chrtStatistics->point(185);
        const QPointF at(plot->xAxis->coordToPixel(point.x()), plot->yAxis->coordToPixel(point.y()));
        QMouseEvent rest(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &rest);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QStringList vScratchList;
    TApplication application(argc, argv);
    const QString layout = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QStringList layouts = {"six-panes", "folded", "collapsed", "raw-grid", "loaded", "readout"};
    if (!layouts.contains(layout)) {
        std::fprintf(stderr, "usage: %s six-panes|folded|collapsed|raw-grid|loaded|readout\n", argv[0]);
        return 2;
    }
    TfmMonSettings w(vScratchList);
    w.show();
    w.activateWindow();
    QTimer::singleShot(0, &w, [&w, layout] {
        if (layout == "raw-grid") {
            showRawGrid(w);
            return;
        }
        if (layout == "loaded") {
            loadSavedFile(w);
            return;
        }
        if (layout == "readout") {
            restOnAPoint(w);
            return;
        }
        if (layout == "collapsed") {
            openPanes(w, 20);
            return;
        }
        // Six panes want a taller window than the one the program opens.
        if (layout == "six-panes")
            w.setGeometry(w.x(), 0, w.width(), 760);
        openPanes(w, w.columns->width() / 2);
        if (layout == "folded") {
            // The pictures' own clicks, so the window's handlers do the folding.
            emit w.imUp->clicked();
            for (int n : {1, 4})
                emit w.slotByTag(n)->imDown->clicked();
        }
    });
    return application.exec();
}
