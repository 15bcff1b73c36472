#pragma once

#include "StatusPanels.h"

#include <QColor>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <functional>

// A status bar of fixed-width panels with centred, single-line text. Panels are set by index
// from 0; a text with line breaks shows on one line here, and in full where the window shows it.
class TStatusBar : public QWidget, public StatusPanels {
    Q_OBJECT
public:
    explicit TStatusBar(const QVector<int> &panelWidths, QWidget *parent = nullptr);

    int panelCount() const { return int(texts_.size()); }
    QString panelText(int panel) const override;
    void setPanelText(int panel, const QString &text) override;
    void repaintNow() override;
    int panelWidth(int panel) const;
    void setPanelWidth(int panel, int width);
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);

    // The panel shows a tooltip of the text asked for when the mouse rests on it; an empty
    // text shows none.
    void setPanelToolTip(int panel, std::function<QString()> text);
    QString panelToolTip(int panel) const;

    QSize sizeHint() const override;

signals:
    void doubleClicked();
    void resized();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect panelRect(int panel) const;
    int panelAt(const QPoint &position) const;

    QVector<int> widths_;
    QStringList texts_;
    QVector<std::function<QString()>> toolTips_;
};
