#pragma once

#include "TWindowContext.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QPlainTextEdit;
class TQuery;

// The server's monitoring tables and their columns with descriptions: master..monTables and
// master..monTableColumns on Sybase ASE, the "dm" objects of sys.all_objects and
// sys.all_columns on Microsoft SQL Server. Nothing is cached; each call asks the server.
class MonitoringCatalogue {
public:
    struct Controls {
        QComboBox *cbMonTable;
        QPlainTextEdit *meTableDesc;
        QComboBox *cbMonColumn;
        QPlainTextEdit *meColumnDesc;
    };

    MonitoringCatalogue(TQuery &qryDynamic, const Controls &controls, TWindowContext context);

    void GetMonTables();
    // Shows the chosen table's description, then lists its columns.
    void cbMonTableChange();
    void GetMonColumns();
    // Shows the chosen column's description; ASE only.
    void cbMonColumnChange();

    // Empties the table and column boxes, lists and texts; the descriptions stay.
    void emptyBoxes();

    // The box's text names one of its list's entries, in any letter case.
    static bool chosen(const QComboBox *box);

private:
    void open(const QStringList &statement);
    // The first column of the result named `column`, row by row, into the box's list.
    void fillList(QComboBox *box, const QString &column);
    void showFirstDescription(QPlainTextEdit *memo);
    void report(const QString &panelText, const QString &operation, const std::exception &error);

    TQuery &qryDynamic;
    Controls controls;
    TWindowContext context;
};
