#include "ComboBoxList.h"

#include <QComboBox>
#include <QSignalBlocker>

void replaceComboBoxList(QComboBox *box, const QStringList &items)
{
    const QString text = box->currentText();
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}
