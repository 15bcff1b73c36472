#pragma once

#include "StatusPanels.h"

#include <QColor>
#include <QStringList>
#include <QVector>
#include <QWidget>

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

    QSize sizeHint() const override;

signals:
    void doubleClicked();
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QVector<int> widths_;
    QStringList texts_;
};
