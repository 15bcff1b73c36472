#pragma once

#include <QList>
#include <QObject>

class QRubberBand;
class QSplitter;

// Gives a splitter's handles the docked-pane drag rule: a handle resizes the pane just after
// it, the first pane fills what is left, and no other pane moves in size. The new size is the
// old one plus or minus the distance dragged, kept between the minimum and the largest size
// that leaves the minimum to the fill pane; with snap, a size at or below the minimum becomes
// 0. Sizes set in code are not bound by the minimum. Without opaque resize the drag shows
// where the handle will go and sizes change on release.
class TSplitterDrag : public QObject {
public:
    TSplitterDrag(QSplitter *splitter, int minimumSize, bool snap);

    // The size a drag of `distance` toward the fill pane gives a pane of `startSize`.
    static int draggedSize(int startSize, int fillSize, int distance, int minimumSize, bool snap);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int along(const QPointF &point) const;
    void follow(int size);
    void apply(int size);

    QSplitter *splitter_;
    int minimumSize_;
    bool snap_;
    QRubberBand *feedback_;
    int handleIndex_ = 0; // the handle being dragged; 0 when none
    int pressedAt_ = 0;
    QList<int> startSizes_;
};
