#include "ShownWindowTestCase.h"
#include "TChart.h"
#include "TFoldPicture.h"
#include "TStatusBar.h"
#include "TestRegistry.h"
#include "paMonSettings.h"

#include <QLabel>
#include <QRubberBand>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Drags a splitter's handle by `distance` pixels toward the column's fill pane (left or up);
// a negative distance drags away from it. The button is released where the drag ends.
void dragHandle(QSplitter *splitter, int handle, int distance, bool release = true)
{
    QSplitterHandle *bar = splitter->handle(handle);
    const QPoint start = bar->rect().center();
    const QPoint end = start
        - (splitter->orientation() == Qt::Horizontal ? QPoint(distance, 0) : QPoint(0, distance));
    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    QTest::mouseMove(bar, end);
    if (release)
        QTest::mouseRelease(bar, Qt::LeftButton, {}, end);
}

// Gives pane `index` the size `size`, the fill pane taking the difference, as a drag would.
void setDockedSize(QSplitter *splitter, int index, int size)
{
    QList<int> sizes = splitter->sizes();
    sizes[0] += sizes[index] - size;
    sizes[index] = size;
    splitter->setSizes(sizes);
}

int total(const QList<int> &sizes)
{
    int sum = 0;
    for (int size : sizes)
        sum += size;
    return sum;
}

} // namespace

class WindowLayoutTest : public ShownWindowTestCase {
    Q_OBJECT


    QSplitter *splitterNamed(const QString &name) const
    {
        TfmMonSettings &w = *window_;
        return name == "columns" ? w.columns : name == "leftPanes" ? w.leftPanes : w.rightPanes;
    }
    // Every pane open, as the user leaves them after dragging each splitter.
    void openSixPanes()
    {
        TfmMonSettings &w = *window_;
        w.columns->setSizes({420, total(w.columns->sizes()) - 420});
        for (QSplitter *panes : {w.leftPanes, w.rightPanes}) {
            const int third = total(panes->sizes()) / 3;
            panes->setSizes({third, third, total(panes->sizes()) - 2 * third});
        }
    }
    void setOuterWidth(int width)
    {
        TfmMonSettings &w = *window_;
        w.resize(width - (w.frameGeometry().width() - w.width()), w.height());
        QCOMPARE(w.frameGeometry().width(), width);
    }

private slots:
    void splitterDrag_data()
    {
        QTest::addColumn<QString>("splitter");
        QTest::addColumn<int>("handle");   // the pane resized is the one after it
        QTest::addColumn<int>("startSize"); // -1: as the window opens
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("size");      // -2: all but the minimum left to the fill pane

        QTest::newRow("splitHor opens the 3-pixel right column") << "columns" << 1 << -1 << 200 << 203;
        QTest::newRow("splitHor to exactly 30: the column vanishes") << "columns" << 1 << -1 << 27 << 0;
        QTest::newRow("splitHor to 31 stays") << "columns" << 1 << -1 << 28 << 31;
        QTest::newRow("splitHor narrowing an open column to 30 vanishes") << "columns" << 1 << 300 << -270 << 0;
        QTest::newRow("splitHor narrowing an open column to 31") << "columns" << 1 << 300 << -269 << 31;
        QTest::newRow("splitHor past the right edge") << "columns" << 1 << 300 << -1000 << 0;
        QTest::newRow("splitHor as far left as it goes leaves 30") << "columns" << 1 << -1 << 5000 << -2;
        QTest::newRow("splitHor reopens a vanished column") << "columns" << 1 << 0 << 100 << 100;
        QTest::newRow("splitHor clicked, not dragged") << "columns" << 1 << -1 << 0 << 3;
        QTest::newRow("splitVer1 opens slot 3") << "leftPanes" << 1 << -1 << 150 << 153;
        QTest::newRow("splitVer2 opens slot 5") << "leftPanes" << 2 << -1 << 80 << 83;
        QTest::newRow("splitVer1 stops at 3") << "leftPanes" << 1 << 100 << -500 << 3;
        QTest::newRow("splitVer1 by one pixel, no snap") << "leftPanes" << 1 << -1 << 1 << 4;
        QTest::newRow("splitVer2 leaves 3 to slot 1") << "leftPanes" << 2 << -1 << 5000 << -2;
        QTest::newRow("splitVer4 opens slot 4") << "rightPanes" << 1 << -1 << 120 << 123;
        QTest::newRow("splitVer5 stops at 3") << "rightPanes" << 2 << 50 << -60 << 3;
    }
    void splitterDrag()
    {
        QFETCH(QString, splitter);
        QFETCH(int, handle);
        QFETCH(int, startSize);
        QFETCH(int, distance);
        QFETCH(int, size);
        TfmMonSettings &w = *window_;
        if (splitter == "rightPanes")
            w.columns->setSizes({400, total(w.columns->sizes()) - 400});
        QSplitter *split = splitterNamed(splitter);
        if (startSize >= 0)
            setDockedSize(split, handle, startSize);
        const QList<int> before = split->sizes();
        const int minimum = splitter == "columns" ? 30 : 3;
        if (size == -2)
            size = before[handle] + before[0] - minimum;

        dragHandle(split, handle, distance);

        const QList<int> after = split->sizes();
        QCOMPARE(after.size(), 3 - (splitter == "columns"));
        QCOMPARE(after[handle], size);
        QCOMPARE(after[0], before[0] - (size - before[handle]));
        // The other docked pane keeps its size: it is docked, not pushed.
        for (int i = 1; i < after.size(); ++i) {
            if (i != handle)
                QCOMPARE(after[i], before[i]);
        }
        QWidget *resized = split->widget(handle);
        QCOMPARE(split->orientation() == Qt::Horizontal ? resized->width() : resized->height(), size);
    }

    void dragShowsTheSplitAndResizesOnRelease_data()
    {
        QTest::addColumn<QString>("splitter");
        QTest::addColumn<int>("handle");
        QTest::newRow("splitHor") << "columns" << 1;
        QTest::newRow("splitVer2") << "leftPanes" << 2;
    }
    void dragShowsTheSplitAndResizesOnRelease()
    {
        QFETCH(QString, splitter);
        QFETCH(int, handle);
        QSplitter *split = splitterNamed(splitter);
        QVERIFY(!split->opaqueResize());
        const QList<int> before = split->sizes();
        const QRect handleAt = split->handle(handle)->geometry();

        dragHandle(split, handle, 100, false);
        QCOMPARE(split->sizes(), before);
        auto *feedback = split->parentWidget()->findChild<QRubberBand *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(feedback && feedback->isVisible());
        const QPoint shift = split->orientation() == Qt::Horizontal ? QPoint(-100, 0) : QPoint(0, -100);
        QCOMPARE(feedback->geometry(), handleAt.translated(split->pos() + shift));

        QTest::mouseRelease(split->handle(handle), Qt::LeftButton, {}, split->handle(handle)->rect().center() + shift);
        QVERIFY(!feedback->isVisible());
        QCOMPARE(split->sizes()[handle], before[handle] + 100);
    }

    void messagePanelFollowsWindowWidth_data()
    {
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<int>("panelWidth");
        QTest::newRow("843-pixel window") << 843 << 515;
        QTest::newRow("329 pixels") << 329 << 1;
        QTest::newRow("328 pixels") << 328 << 5;
        QTest::newRow("200 pixels") << 200 << 5;
    }
    void messagePanelFollowsWindowWidth()
    {
        QFETCH(int, barWidth);
        QFETCH(int, panelWidth);
        TfmMonSettings &w = *window_;
        // The main status bar spans the window.
        w.resize(barWidth, w.height());
        QCOMPARE(w.sbStatus->width(), barWidth);
        QCOMPARE(w.sbStatus->panelWidth(2), panelWidth);
        QCOMPARE(w.sbStatus->panelWidth(0), 120);
        QCOMPARE(w.sbStatus->panelWidth(1), 130);
        QCOMPARE(w.sbStatus->panelWidth(3), 50);
    }

    void slotStatusBarInFifths_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<QList<int>>("panels");
        QTest::newRow("403 pixels") << 1 << 403 << QList<int>{80, 240, 80};
        QTest::newRow("404 pixels") << 4 << 404 << QList<int>{80, 240, 80};
        QTest::newRow("405 pixels") << 6 << 405 << QList<int>{81, 243, 81};
        QTest::newRow("4 pixels") << 3 << 4 << QList<int>{0, 0, 0};
    }
    void slotStatusBarInFifths()
    {
        QFETCH(int, n);
        QFETCH(int, barWidth);
        QFETCH(QList<int>, panels);
        TStatusBar *bar = window_->slotByTag(n)->sbStatus;
        bar->resize(barWidth, bar->height());
        QCOMPARE(QList<int>({bar->panelWidth(0), bar->panelWidth(1), bar->panelWidth(2)}), panels);
    }

    void slotStatusBarsFollowTheirPanes()
    {
        TfmMonSettings &w = *window_;
        openSixPanes();
        for (int n = 1; n <= 6; ++n) {
            TStatusBar *bar = w.slotByTag(n)->sbStatus;
            const int fifth = bar->width() / 5;
            QVERIFY(fifth > 50);
            QCOMPARE(QList<int>({bar->panelWidth(0), bar->panelWidth(1), bar->panelWidth(2)}),
                     QList<int>({fifth, 3 * fifth, fifth}));
        }
    }

    void sixPanesKeepTheirBarsWhole()
    {
        // At the window's opening size a third of a column is less than a chart's own wish;
        // the chart gives way, never the docked bars.
        openSixPanes();
        for (int n = 1; n <= 6; ++n) {
            const TChartSlot &slot = *window_->slotByTag(n);
            QVERIFY(slot.pane->height() < 150);
            QCOMPARE(slot.sbStatus->y(), 2);
            QCOMPARE(slot.paHide->y(), slot.chrtStatistics->geometry().bottom() + 1);
            QCOMPARE(slot.paControls->geometry().bottom(), slot.pane->height() - 3);
            QCOMPARE(slot.chrtStatistics->height(), slot.pane->height() - 4 - 20 - 11 - 72);
        }
    }

    void topStripFolds()
    {
        TfmMonSettings &w = *window_;
        const int chartArea = w.paChartsControl->height();
        QTest::mouseClick(w.imUp, Qt::LeftButton);
        QVERIFY(w.imDown->isVisible() && !w.imUp->isVisible());
        QCOMPARE(w.paHide->geometry(), QRect(0, 0, w.width(), 11));
        QCOMPARE(w.paControls->geometry(), QRect(0, 11, w.width(), 1));
        QCOMPARE(w.paChartsControl->height(), chartArea + 158);
        QCOMPARE(w.sbStatus->panelWidth(2), w.sbStatus->width() - 328);

        QTest::mouseClick(w.imDown, Qt::LeftButton);
        QVERIFY(w.imUp->isVisible() && !w.imDown->isVisible());
        QCOMPARE(w.paControls->height(), 159);
        QCOMPARE(w.paChartsControl->height(), chartArea);
    }

    void slotStripFolds_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("slot 1") << 1;
        QTest::newRow("slot 4") << 4;
    }
    void slotStripFolds()
    {
        QFETCH(int, n);
        openSixPanes();
        // Room enough for the strip's 71 pixels to go to the chart.
        QSplitter *panes = n % 2 ? window_->leftPanes : window_->rightPanes;
        const int index = (n - 1) / 2;
        QList<int> sizes(3, 3);
        sizes[index] = total(panes->sizes()) - 6;
        panes->setSizes(sizes);
        TChartSlot &slot = *window_->slotByTag(n);
        TChartSlot &other = *window_->slotByTag(n == 1 ? 2 : 1);
        const int chartHeight = slot.chrtStatistics->height();
        QTest::mouseClick(slot.imDown, Qt::LeftButton);
        QVERIFY(slot.imUp->isVisible() && !slot.imDown->isVisible());
        QCOMPARE(slot.paControls->height(), 1);
        QCOMPARE(slot.paHide->height(), 11);
        QCOMPARE(slot.chrtStatistics->height(), chartHeight + 71);
        QCOMPARE(other.paControls->height(), 72);
        QVERIFY(other.imDown->isVisible());

        QTest::mouseClick(slot.imUp, Qt::LeftButton);
        QVERIFY(slot.imDown->isVisible() && !slot.imUp->isVisible());
        QCOMPARE(slot.paControls->height(), 72);
        QCOMPARE(slot.chrtStatistics->height(), chartHeight);
    }

    void leftColumnCollapses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("leftWidth"); // for "sizes"
        QTest::addColumn<bool>("collapsed");
        QTest::newRow("splitHor dragged as far left as it goes") << "drag" << 0 << true;
        QTest::newRow("column 39 pixels wide") << "sizes" << 39 << true;
        QTest::newRow("column 40 pixels wide") << "sizes" << 40 << false;
        QTest::newRow("window narrowed") << "window" << 0 << true;
    }
    void leftColumnCollapses()
    {
        QFETCH(QString, how);
        QFETCH(int, leftWidth);
        QFETCH(bool, collapsed);
        TfmMonSettings &w = *window_;
        openSixPanes();
        if (how == "drag") {
            dragHandle(w.columns, 1, 5000);
        } else if (how == "sizes") {
            w.columns->setSizes({leftWidth, total(w.columns->sizes()) - leftWidth});
        } else {
            w.columns->setSizes({100, total(w.columns->sizes()) - 100});
            w.resize(w.width() - 70, w.height());
        }
        QCOMPARE(w.paChartsLeft->width() < 40, collapsed);
        QCOMPARE(w.paLeftHide->isVisible(), collapsed);
        if (!collapsed) {
            QVERIFY(w.slotByTag(3)->pane->height() > 100);
            return;
        }
        QCOMPARE(w.paLeftHide->text(), QString("..."));
        QCOMPARE(w.slotByTag(3)->pane->height(), 2);
        QCOMPARE(w.slotByTag(5)->pane->height(), 2);
        // It covers slot 1's pane, above the docked panes and their splitters.
        QCOMPARE(w.paLeftHide->geometry(), QRect(0, 0, w.paChartsLeft->width(), w.paChartsLeft->height() - 10));
        QCOMPARE(w.paChartsLeft->childAt(w.paLeftHide->geometry().center()), w.paLeftHide);
        QCOMPARE(w.slotByTag(1)->pane->geometry().bottom(), w.paLeftHide->geometry().bottom());

        // Widening again hides the panel; the panes of slots 3 and 5 stay 2 pixels high.
        w.resize(843, w.height());
        w.columns->setSizes({45, total(w.columns->sizes()) - 45});
        QVERIFY(!w.paLeftHide->isVisible());
        QCOMPARE(w.slotByTag(3)->pane->height(), 2);
        QCOMPARE(w.slotByTag(5)->pane->height(), 2);
    }

    void dotsRestoreHalfTheOuterWidth_data()
    {
        QTest::addColumn<int>("outerWidth");
        QTest::addColumn<int>("leftWidth");
        QTest::newRow("843: 421.5 to 422") << 843 << 422;
        QTest::newRow("842: 421") << 842 << 421;
        QTest::newRow("845: 422.5 to 422") << 845 << 422;
        QTest::newRow("841: 420.5 to 420") << 841 << 420;
    }
    void dotsRestoreHalfTheOuterWidth()
    {
        QFETCH(int, outerWidth);
        QFETCH(int, leftWidth);
        TfmMonSettings &w = *window_;
        setOuterWidth(outerWidth);
        w.columns->setSizes({20, total(w.columns->sizes()) - 20});
        QVERIFY(w.paLeftHide->isVisible());

        QTest::mouseClick(w.paLeftHide, Qt::LeftButton);

        QCOMPARE(w.paChartsLeft->width(), leftWidth);
        QCOMPARE(w.paChartsRight->width(), w.columns->width() - 3 - leftWidth);
        QVERIFY(!w.paLeftHide->isVisible());
        QCOMPARE(w.slotByTag(3)->pane->height(), 2);
    }

    void statusBarDoubleClick_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("asked");
        const QString stopped = QStringLiteral("Sampling Stopped...\nDatabase error: connection lost");
        QTest::newRow("main bar, message with a line break")
            << 0 << 2 << "Loaded Custom SQL Statements to /a/very/long/name\nnext line"
            << QStringList{"information: Loaded Custom SQL Statements to /a/very/long/name\nnext line"};
        QTest::newRow("main bar, message empty, clock shown") << 0 << 1 << "T: 10/12/2026 10:00:00" << QStringList();
        QTest::newRow("slot 3, error on its own line") << 3 << 1 << stopped << QStringList{"information: " + stopped};
        QTest::newRow("slot 6, message empty, last value shown") << 6 << 0 << "L.V: 5" << QStringList();
    }
    void statusBarDoubleClick()
    {
        QFETCH(int, tag);
        QFETCH(int, panel);
        QFETCH(QString, text);
        QFETCH(QStringList, asked);
        TfmMonSettings &w = *window_;
        openSixPanes();
        TStatusBar *bar = tag == 0 ? w.sbStatus : w.slotByTag(tag)->sbStatus;
        bar->setPanelText(panel, text);
        QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() / 2));
        QCOMPARE(dialogs_->asked, asked);
    }
};

QUINTARO_TEST(WindowLayoutTest)
#include "WindowLayoutTest.moc"
