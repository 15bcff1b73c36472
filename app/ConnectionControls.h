#pragma once

#include "ConnectionView.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class TRadioGroup;
class TStringGrid;

// The control strip's connection widgets as Connect, the catalogue and Test see them. The
// widgets belong to the window's widget tree and are held here by pointer.
class ConnectionControls : public ConnectionView {
public:
    struct Widgets {
        QComboBox *edSRV = nullptr;
        QComboBox *cbMonTable = nullptr;
        QPlainTextEdit *meTableDesc = nullptr;
        QComboBox *cbMonColumn = nullptr;
        QPlainTextEdit *meColumnDesc = nullptr;
        QCheckBox *cbCustom = nullptr;
        TRadioGroup *rgGRP = nullptr;
        QPlainTextEdit *reSQL = nullptr;
        TStringGrid *sgTest = nullptr;
    };

    explicit ConnectionControls(const Widgets &widgets);

    QString server() const override;
    void setServerList(const QStringList &servers) override;
    QString text(Box box) const override;
    bool chosen(Box box) const override;
    void setList(Box box, const QStringList &items) override;
    void emptyBox(Box box) override;
    void setDescription(Box box, const QString &description) override;
    bool customSql() const override;
    void tickCustomSql() override;
    int aggregateIndex() const override;
    QString sql() const override;
    void setSql(const QString &sql) override;
    void clearTestGrid() override;
    void setTestNames(const QStringList &names) override;
    void appendTestRows(const TextTable &rows) override;

private:
    QComboBox *box(Box box) const;
    QPlainTextEdit *description(Box box) const;

    Widgets widgets_;
};
