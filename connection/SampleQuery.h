#pragma once

#include "TWindowContext.h"

#include <QString>

class ConnectionView;
class SharedConnection;

// Test: composes the sampling query from the chosen table, column and aggregate with the query
// box's text as its filter, leaves it in the query box, and shows what the box's text returns.

// "select " + the aggregate's expression of the column + " from master.." + table + " " + filter;
// column and table are trimmed, the filter is taken whole.
QString ComposeSampleQuery(int aggregateIndex, const QString &column, const QString &table, const QString &filter);

// Does nothing unless the shared connection is open (or lost its link since), or while an
// earlier Test waits for the server. The result fills the grid when the server has answered: names in row 0, one row per
// result row, one empty row last.
// The view outlives every answer.
void TestSampleQuery(ConnectionView &controls, SharedConnection &dblocal, TWindowContext context);
