#pragma once

#include "TWindowContext.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class SharedConnection;
class TStringGrid;

// Test: composes the sampling query from the chosen table, column and aggregate with the query
// box's text as its filter, leaves it in the query box, and shows what the box's text returns.
struct SampleQueryControls {
    QCheckBox *cbCustom;
    QComboBox *cbMonTable;
    QComboBox *cbMonColumn;
    QPlainTextEdit *reSQL;
    TStringGrid *sgTest;
    int aggregateIndex; // rgGRP: NA, AVG, MAX, MIN, CNT, SUM
};

// "select " + the aggregate's expression of the column + " from master.." + table + " " + filter;
// column and table are trimmed, the filter is taken whole.
QString ComposeSampleQuery(int aggregateIndex, const QString &column, const QString &table, const QString &filter);

// Does nothing unless the shared connection is open (or lost its link since), or while an
// earlier Test waits for the server. The result fills the grid when the server has answered: names in row 0, one row per
// result row, one empty row last.
void TestSampleQuery(const SampleQueryControls &controls, SharedConnection &dblocal, TWindowContext context);
