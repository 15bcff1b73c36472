#include "StripLayout.h"

#include "StripStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

StripLayout::StripLayout(QWidget *strip, int tag) : strip_(strip), tag_(tag) {}

QWidget *StripLayout::place(QWidget *control, const QString &name, const QRect &geometry)
{
    control->setParent(strip_);
    control->setObjectName(name);
    control->setGeometry(geometry);
    if (tag_ != 0)
        control->setProperty("Tag", tag_);
    return control;
}

QPushButton *StripLayout::button(const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption);
    place(button, name, geometry);
    return button;
}

QLabel *StripLayout::label(const QString &name, const QString &caption, const QPoint &topLeft)
{
    auto *label = new QLabel(caption);
    label->setTextFormat(Qt::PlainText);
    place(label, name, QRect(topLeft, label->sizeHint()));
    return label;
}

QLineEdit *StripLayout::edit(const QString &name, const QString &text, const QRect &geometry)
{
    auto *edit = new QLineEdit(text);
    place(edit, name, geometry);
    return edit;
}

QComboBox *StripLayout::comboBox(const QString &name, const QRect &geometry)
{
    auto *box = new QComboBox;
    box->setStyle(StripStyle::instance());
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    place(box, name, geometry);
    return box;
}

QCheckBox *StripLayout::checkBox(const QString &name, const QString &caption, bool checked, const QRect &geometry)
{
    auto *box = new QCheckBox(caption);
    box->setStyle(StripStyle::instance());
    box->setChecked(checked);
    place(box, name, geometry);
    return box;
}

QFrame *StripLayout::swatch(const QString &name, const QColor &color, const QRect &geometry)
{
    auto *swatch = new QFrame;
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, color);
    swatch->setPalette(palette);
    place(swatch, name, geometry);
    return swatch;
}

void StripLayout::setTabOrder(std::initializer_list<QWidget *> order)
{
    QWidget *previous = nullptr;
    for (QWidget *control : order) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}
