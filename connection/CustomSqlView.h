#pragma once

#include <QString>
#include <QStringList>

// The floating custom SQL panel as Load, Save and Load SQL see it; the window implements it
// with its widgets.
class CustomSqlView {
public:
    virtual ~CustomSqlView() = default;

    // paCustomSQL: raised above every other control and shown, as wide as it was left.
    virtual void showPanel(int height) = 0;
    // reLoadSQL: one line per paragraph, none for an empty editor; set in one go.
    virtual QStringList sqlLines() const = 0;
    virtual void setSqlLines(const QStringList &lines) = 0;
    // edFileName.
    virtual QString fileName() const = 0;
    virtual void setFileName(const QString &fileName) = 0;
};
