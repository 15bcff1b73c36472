#include "MnemonicPrecedence.h"

#include <QAbstractButton>
#include <QShortcutEvent>

MnemonicPrecedence::MnemonicPrecedence(QAbstractButton *winner) : QObject(winner), winner_(winner)
{
}

void MnemonicPrecedence::give(QAbstractButton *winner, QWidget *window)
{
    auto *precedence = new MnemonicPrecedence(winner);
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        if (button->shortcut() == winner->shortcut())
            button->installEventFilter(precedence);
}

bool MnemonicPrecedence::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::Shortcut
        || static_cast<QShortcutEvent *>(event)->key() != winner_->shortcut())
        return false;
    if (winner_->isEnabled() && winner_->isVisible()) {
        winner_->setFocus(Qt::ShortcutFocusReason);
        winner_->animateClick();
    }
    return true;
}
