#pragma once

#include "TDialogs.h"

// The real dialogs; each file dialog and the colour dialog keep their memory between uses.
class TQtDialogs : public TDialogs {
public:
    void showError(QWidget *owner, const QString &text) override;
    void showInformation(QWidget *owner, const QString &text) override;
    bool askYesNo(QWidget *owner, const QString &text) override;
    QString chooseOpenFile(QWidget *owner) override;
    QString chooseSaveFile(QWidget *owner) override;
    std::optional<QColor> chooseColor(QWidget *owner) override;

private:
    QString lastOpenFile_;
    QString lastSaveFile_;
    QColor lastColor_ = QColor(255, 0, 0);
};
