#pragma once

#include <QObject>

class QAbstractButton;

// Where controls share a mnemonic letter, Qt only moves the focus from one to the next on
// Alt+letter. The button given here takes that letter for itself: Alt+letter presses it,
// whichever of the sharing controls Qt would have chosen.
class MnemonicPrecedence : public QObject {
    Q_OBJECT
public:
    // Every button of `window` with the same mnemonic gives way to `winner`.
    static void give(QAbstractButton *winner, QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit MnemonicPrecedence(QAbstractButton *winner);

    QAbstractButton *winner_;
};
