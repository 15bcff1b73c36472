#pragma once

#include <QString>
#include <QStringList>

class TextTable;

// The connection part of the control strip as Connect, the monitoring catalogue and Test see it.
// The window implements it with its widgets; every read gives the control's state at that moment.
class ConnectionView {
public:
    // cbMonTable with meTableDesc under it, cbMonColumn with meColumnDesc.
    enum class Box { Table, Column };

    virtual ~ConnectionView() = default;

    // edSRV: the text as typed; a new list leaves the text as it is.
    virtual QString server() const = 0;
    virtual void setServerList(const QStringList &servers) = 0;

    // cbMonTable, cbMonColumn.
    virtual QString text(Box box) const = 0;
    // The box's text names one of its list's entries, in any letter case.
    virtual bool chosen(Box box) const = 0;
    // The text stays, and raises no change when it stays the same.
    virtual void setList(Box box, const QStringList &items) = 0;
    // List and text both; an emptied text raises its change.
    virtual void emptyBox(Box box) = 0;
    // meTableDesc, meColumnDesc.
    virtual void setDescription(Box box, const QString &description) = 0;

    // cbCustom: ticked, the query box holds a whole statement instead of a filter.
    virtual bool customSql() const = 0;
    virtual void tickCustomSql() = 0;
    // rgGRP: NA, AVG, MAX, MIN, CNT, SUM.
    virtual int aggregateIndex() const = 0;
    // reSQL.
    virtual QString sql() const = 0;
    virtual void setSql(const QString &sql) = 0;

    // sgTest: emptied to the title row and one empty row.
    virtual void clearTestGrid() = 0;
    // One column per name, the names in the title row.
    virtual void setTestNames(const QStringList &names) = 0;
    // Each row goes into the last grid row, a new empty row follows and becomes current.
    virtual void appendTestRows(const TextTable &rows) = 0;
};
