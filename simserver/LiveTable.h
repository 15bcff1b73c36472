#pragma once

// A monitoring table whose counters move with the clock: a SQLite view over a few fixed rows.
// One description feeds both the view and the persona's catalogue rows, so the two agree.

#include <string>
#include <vector>

namespace simserver {

struct LiveColumn {
    std::string name;
    std::string type;       // as the real server declares it: "int", "varchar(30)", "nvarchar(60)"
    std::string expression; // SQL over the row columns and the clock functions
    std::string description;
    bool cumulative = false; // a counter that only grows
};

struct LiveTable {
    std::string name;
    std::string description;
    // The fixed rows: "VALUES (...), (...)" naming `rowColumns`, which always include k,
    // the row's scale for rates and phase for wandering values.
    std::string rowColumns;
    std::string rows;
    std::vector<LiveColumn> columns;
};

// Declared type split into its base name and length ("varchar(30)" -> "varchar", 30).
struct DeclaredType {
    std::string base;
    int length = 0; // 0 when the type has none
};
DeclaredType parseDeclaredType(const std::string &type);

std::string createViewSql(const LiveTable &table, const std::string &schema);

// Column expressions: a counter growing from base * k at perSecond * k, and a gauge wandering
// between low and high.
std::string counterExpression(double base, double perSecond);
std::string gaugeExpression(double low, double high, int phase);
LiveColumn counterColumn(std::string name, std::string type, double base, double perSecond, std::string description);
LiveColumn gaugeColumn(std::string name, std::string type, double low, double high, int phase, std::string description);
LiveColumn fixedColumn(std::string name, std::string type, std::string expression, std::string description);

} // namespace simserver
