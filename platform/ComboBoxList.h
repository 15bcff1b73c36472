#pragma once

#include <QStringList>

class QComboBox;

// Replaces an editable box's drop-down list without touching its text, and without raising a
// text change when the text stays the same.
void replaceComboBoxList(QComboBox *box, const QStringList &items);
