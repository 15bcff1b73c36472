#include "TQtDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

void TQtDialogs::showError(QWidget *owner, const QString &text)
{
    QMessageBox::critical(owner, QStringLiteral("Error"), text, QMessageBox::Ok);
}

void TQtDialogs::showInformation(QWidget *owner, const QString &text)
{
    QMessageBox::information(owner, QStringLiteral("Information"), text, QMessageBox::Ok);
}

bool TQtDialogs::askYesNo(QWidget *owner, const QString &text)
{
    return QMessageBox::question(owner, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

QString TQtDialogs::chooseOpenFile(QWidget *owner)
{
    const QString name = QFileDialog::getOpenFileName(owner, {}, lastOpenFile_);
    if (!name.isEmpty())
        lastOpenFile_ = name;
    return name;
}

QString TQtDialogs::chooseSaveFile(QWidget *owner)
{
    const QString name = QFileDialog::getSaveFileName(owner, {}, lastSaveFile_, {}, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!name.isEmpty())
        lastSaveFile_ = name;
    return name;
}

std::optional<QColor> TQtDialogs::chooseColor(QWidget *owner)
{
    const QColor color = QColorDialog::getColor(lastColor_, owner);
    if (!color.isValid())
        return std::nullopt;
    lastColor_ = color;
    return color;
}
