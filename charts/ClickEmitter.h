#pragma once

#include <QObject>

class QWidget;

// Gives a widget without a click of its own (a colour swatch) a clicked() signal. The emitter is
// a child of the widget and carries its Tag, so a handler finds the slot from the sender.
class ClickEmitter : public QObject {
    Q_OBJECT
public:
    explicit ClickEmitter(QWidget *watched);

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
