#pragma once

#include "CustomSqlView.h"

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The custom SQL panel's widgets as Load, Save and Load SQL see them; they belong to the
// window's widget tree and are held here by pointer.
class CustomSqlControls : public CustomSqlView {
public:
    struct Widgets {
        QWidget *paCustomSQL = nullptr;
        QPlainTextEdit *reLoadSQL = nullptr;
        QLineEdit *edFileName = nullptr;
    };

    explicit CustomSqlControls(const Widgets &widgets);

    void showPanel(int height) override;
    QStringList sqlLines() const override;
    void setSqlLines(const QStringList &lines) override;
    QString fileName() const override;
    void setFileName(const QString &fileName) override;

private:
    Widgets widgets_;
};
