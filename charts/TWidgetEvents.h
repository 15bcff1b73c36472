#pragma once

#include <QObject>

class QWidget;

// Turns a plain widget's resizes and clicks into signals, for widgets that have none.
class TWidgetEvents : public QObject {
    Q_OBJECT
public:
    // The watcher of `widget`, made on first use and owned by the widget.
    static TWidgetEvents *of(QWidget *widget);

signals:
    // Sent once the widget has its new size, before its layout places its children.
    void resized();
    // A left click released over the widget.
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TWidgetEvents(QWidget *widget);
};
