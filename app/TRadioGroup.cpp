#include "TRadioGroup.h"

#include <QRadioButton>

TRadioGroup::TRadioGroup(const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(parent), items_(items), columns_(columns)
{
    for (int i = 0; i < items.size(); ++i)
        buttons_.addButton(new QRadioButton(items[i], this), i);
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = buttons_.button(index))
        button->setChecked(true);
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    placeButtons();
}

void TRadioGroup::placeButtons()
{
    const int rows = (int(items_.size()) + columns_ - 1) / columns_;
    const QRect area = contentsRect().adjusted(4, 0, -2, -2);
    const int columnWidth = area.width() / columns_;
    const int rowHeight = rows > 0 ? area.height() / rows : 0;
    for (int i = 0; i < items_.size(); ++i) {
        const int column = i / rows;
        const int row = i % rows;
        buttons_.button(i)->setGeometry(area.left() + column * columnWidth, area.top() + row * rowHeight,
                                        columnWidth, rowHeight);
    }
}
