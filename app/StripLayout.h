#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Places the controls of a control strip at their fixed pixel positions, named, and tagged
// with the slot number when the strip belongs to a slot.
class StripLayout {
public:
    // tag 0: the strip belongs to no slot.
    StripLayout(QWidget *strip, int tag);

    QPushButton *button(const QString &name, const QString &caption, const QRect &geometry);
    QLabel *label(const QString &name, const QString &caption, const QPoint &topLeft);
    QLineEdit *edit(const QString &name, const QString &text, const QRect &geometry);
    QComboBox *comboBox(const QString &name, const QRect &geometry);
    QCheckBox *checkBox(const QString &name, const QString &caption, bool checked, const QRect &geometry);
    QFrame *swatch(const QString &name, const QColor &color, const QRect &geometry);
    // Puts a control made elsewhere into the strip.
    QWidget *place(QWidget *control, const QString &name, const QRect &geometry);

    // The strip's tab order, first to last.
    static void setTabOrder(std::initializer_list<QWidget *> order);

private:
    QWidget *strip_;
    int tag_;
};
