// Opens the window in one of the layouts a user reaches by dragging and clicking, for
// scripts/screenshot: six-panes, folded (strips folded too) or collapsed (the "..." panel).
#include "TApplication.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TFoldPicture.h"
#include "TStatusBar.h"
#include "paMonSettings.h"

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

} // namespace

int main(int argc, char **argv)
{
    QStringList vScratchList;
    TApplication application(argc, argv);
    const QString layout = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (layout != "six-panes" && layout != "folded" && layout != "collapsed") {
        std::fprintf(stderr, "usage: %s six-panes|folded|collapsed\n", argv[0]);
        return 2;
    }
    TfmMonSettings w(vScratchList);
    w.show();
    w.activateWindow();
    QTimer::singleShot(0, &w, [&w, layout] {
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
