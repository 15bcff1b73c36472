#include "WindowLayout.h"

#include "TChartSlot.h"
#include "TDialogs.h"
#include "TFoldPicture.h"
#include "TSplitterDrag.h"
#include "TStatusBar.h"
#include "WindowDesign.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSplitter>

namespace {

constexpr int messagePanel = 2;
constexpr int fixedPanelsWidth = 328;
constexpr int narrowMessagePanel = 5;
constexpr int foldedHeight = 1;
constexpr int collapseBelowWidth = 40;
constexpr int collapsedPaneHeight = 2;

// Of each pair of fold pictures exactly one shows: the way its strip will go next.
void swapPictures(QWidget &hide, QWidget &show)
{
    hide.hide();
    show.show();
}

} // namespace

namespace WindowLayout {

void setupSplitters(const TChartArea &area)
{
    new TSplitterDrag(area.columns, columnMinimumSize, true);
    for (QSplitter *panes : {area.leftPanes, area.rightPanes})
        new TSplitterDrag(panes, paneMinimumSize, false);
    for (QSplitter *splitter : {area.columns, area.leftPanes, area.rightPanes})
        splitter->setOpaqueResize(false);
}

void fitMessagePanel(TStatusBar &sbStatus)
{
    const int width = sbStatus.width();
    sbStatus.setPanelWidth(messagePanel, width > fixedPanelsWidth ? width - fixedPanelsWidth : narrowMessagePanel);
}

void foldControlStrip(QWidget &imUp, QWidget &imDown, QWidget &paControls, TStatusBar &sbStatus)
{
    if (!imUp.isHidden()) {
        swapPictures(imUp, imDown);
        paControls.setFixedHeight(foldedHeight);
    } else {
        swapPictures(imDown, imUp);
        paControls.setFixedHeight(WindowDesign::controlStripHeight);
    }
    fitMessagePanel(sbStatus);
    // The new layout is drawn before the click's handler returns.
    QCoreApplication::processEvents();
}

void foldSlotStrip(TChartSlot &slot)
{
    if (!slot.imUp->isHidden()) {
        swapPictures(*slot.imUp, *slot.imDown);
        slot.paControls->setFixedHeight(WindowDesign::slotStripHeight);
    } else {
        swapPictures(*slot.imDown, *slot.imUp);
        slot.paControls->setFixedHeight(foldedHeight);
    }
    QCoreApplication::processEvents();
}

void collapseLeftColumn(const TChartArea &area)
{
    QWidget &column = *area.paChartsLeft;
    if (column.width() >= collapseBelowWidth) {
        area.paLeftHide->hide();
        return;
    }
    QSplitter &panes = *area.leftPanes;
    QList<int> sizes = panes.sizes();
    int docked = 0;
    for (int i = 1; i < sizes.size(); ++i) {
        sizes[0] += sizes[i] - collapsedPaneHeight;
        sizes[i] = collapsedPaneHeight;
        docked += collapsedPaneHeight + panes.handleWidth();
    }
    panes.setSizes(sizes);
    // The column may not have laid out its splitter yet, so the panel is placed from the column's size.
    area.paLeftHide->setGeometry(0, 0, column.width(), std::max(0, column.height() - docked));
    area.paLeftHide->raise();
    area.paLeftHide->show();
}

void restoreLeftColumn(const TChartArea &area, int outerWidth)
{
    const QList<int> sizes = area.columns->sizes();
    const int total = sizes[0] + sizes[1];
    const int left = std::min(total, halfToEven(outerWidth));
    area.columns->setSizes({left, total - left});
    collapseLeftColumn(area);
}

void divideSlotStatusBar(TStatusBar &bar)
{
    const int fifth = bar.width() / 5;
    bar.setPanelWidth(0, fifth);
    bar.setPanelWidth(1, 3 * fifth);
    bar.setPanelWidth(2, fifth);
}

void showStatusMessage(const TStatusBar &bar, int panel, TDialogs &dialogs, QWidget *owner)
{
    const QString text = bar.panelText(panel);
    if (!text.isEmpty())
        dialogs.showInformation(owner, text);
}

int halfToEven(int width)
{
    const int half = width / 2;
    return width % 2 != 0 && half % 2 != 0 ? half + 1 : half;
}

} // namespace WindowLayout
