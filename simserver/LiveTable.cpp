#include "LiveTable.h"

#include <cstdlib>
#include <sstream>

namespace simserver {

DeclaredType parseDeclaredType(const std::string &type)
{
    const auto open = type.find('(');
    if (open == std::string::npos)
        return {type, 0};
    return {type.substr(0, open), std::atoi(type.c_str() + open + 1)};
}

std::string createViewSql(const LiveTable &table, const std::string &schema)
{
    std::ostringstream sql;
    sql << "CREATE VIEW " << schema << ".[" << table.name << "] AS WITH r(" << table.rowColumns << ") AS ("
        << table.rows << ") SELECT ";
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        sql << (i ? ", " : "") << table.columns[i].expression << " AS [" << table.columns[i].name << "]";
    sql << " FROM r;";
    return sql.str();
}

std::string counterExpression(double base, double perSecond)
{
    std::ostringstream sql;
    sql.precision(15);
    sql << "cast(" << base << " * k + " << perSecond << " * k * sim_clock() as integer)";
    return sql.str();
}

std::string gaugeExpression(double low, double high, int phase)
{
    std::ostringstream sql;
    sql.precision(15);
    sql << "cast(" << low << " + " << (high - low) << " * sim_wave(" << phase << " + k) as integer)";
    return sql.str();
}

LiveColumn counterColumn(std::string name, std::string type, double base, double perSecond, std::string description)
{
    return {std::move(name), std::move(type), counterExpression(base, perSecond), std::move(description), true};
}

LiveColumn gaugeColumn(std::string name, std::string type, double low, double high, int phase, std::string description)
{
    return {std::move(name), std::move(type), gaugeExpression(low, high, phase), std::move(description), false};
}

LiveColumn fixedColumn(std::string name, std::string type, std::string expression, std::string description)
{
    return {std::move(name), std::move(type), std::move(expression), std::move(description), false};
}

} // namespace simserver
