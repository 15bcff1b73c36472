#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

// Every modal interaction of the window goes through this seam, so tests can answer it.
class TDialogs {
public:
    virtual ~TDialogs() = default;
    // Modal box with an error symbol, titled "Error", one OK button.
    virtual void showError(QWidget *owner, const QString &text) = 0;
    // Modal box titled "Information", one OK button.
    virtual void showInformation(QWidget *owner, const QString &text) = 0;
    // Modal confirmation with Yes and No; true on Yes.
    virtual bool askYesNo(QWidget *owner, const QString &text) = 0;
    // dlgOpen: no filter; the chosen name need not exist. Empty when cancelled.
    virtual QString chooseOpenFile(QWidget *owner) = 0;
    // dlgSave: no filter, no default extension, no overwrite warning. Empty when cancelled.
    virtual QString chooseSaveFile(QWidget *owner) = 0;
    // dlgColor: opens on the colour last chosen (red at start). Empty when cancelled.
    virtual std::optional<QColor> chooseColor(QWidget *owner) = 0;
};
