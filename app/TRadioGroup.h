#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

// A framed group of radio buttons laid out in columns, filled column by column.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QStringList &items, int columns, QWidget *parent = nullptr);
    int itemIndex() const { return buttons_.checkedId(); }
    void setItemIndex(int index);
    QStringList items() const { return items_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeButtons();

    QStringList items_;
    int columns_;
    QButtonGroup buttons_;
};
