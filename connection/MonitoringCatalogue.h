#pragma once

#include "ConnectionView.h"
#include "TWindowContext.h"

#include <QString>
#include <QStringList>

class SharedConnection;

// The server's monitoring tables and their columns with descriptions: master..monTables and
// master..monTableColumns on Sybase ASE, the "dm" objects of sys.all_objects and
// sys.all_columns on Microsoft SQL Server. Nothing is cached; each call asks the server, through
// the shared connection's worker, and the boxes change when it answers. Copies share the
// view, which outlives every answer.
class MonitoringCatalogue {
public:
    MonitoringCatalogue(SharedConnection &dblocal, ConnectionView &controls, TWindowContext context);

    void GetMonTables() const;
    // Shows the chosen table's description, then lists its columns.
    void cbMonTableChange() const;
    void GetMonColumns() const;
    // Shows the chosen column's description; ASE only.
    void cbMonColumnChange() const;

    // Empties the table and column boxes, lists and texts; the descriptions stay.
    void emptyBoxes() const;

private:
    using Box = ConnectionView::Box;

    // The first column of the result named `column`, row by row, into the box's list; the
    // rows read before a failure are kept.
    void fillList(const QStringList &statement, Box box, const QString &column, const QString &panelText,
                  const QString &operation) const;
    // The first row's Description into the box's description, then `next` if all went well.
    void showFirstDescription(const QStringList &statement, Box box, const QString &operation,
                              void (MonitoringCatalogue::*next)() const) const;
    void report(const QString &panelText, const QString &operation, const QString &error) const;

    SharedConnection &dblocal_;
    ConnectionView &controls_;
    TWindowContext context_;
};
