#pragma once

#include <QList>

// Which line of the slot's lists each point of its chart was drawn from. Points are drawn in
// time order and lines with an empty text draw none, so the two can part; while they do not
// (every line drawn, each after the last) nothing is stored.
class PointLines {
public:
    void clear();
    // The point drawn from `line` went in at index `point` of the chart.
    void added(qsizetype point, qsizetype line);
    // -1 for a point not drawn through here.
    qsizetype lineOf(qsizetype point) const;

private:
    qsizetype count_ = 0;
    // Empty while point i is line i.
    QList<qsizetype> lines_;
};
