#include "CellValue.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace simserver::cell {

std::string asText(const Present &value)
{
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *integer = std::get_if<std::int64_t>(&value))
        return std::to_string(*integer);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value)).ptr;
    return std::string(buffer, end);
}

double asFloat(const Present &value)
{
    if (const auto *number = std::get_if<double>(&value))
        return *number;
    if (const auto *integer = std::get_if<std::int64_t>(&value))
        return static_cast<double>(*integer);
    return std::strtod(std::get<std::string>(value).c_str(), nullptr);
}

std::int64_t asInteger(const Present &value)
{
    if (const auto *integer = std::get_if<std::int64_t>(&value))
        return *integer;
    if (const auto *number = std::get_if<double>(&value))
        return static_cast<std::int64_t>(*number);
    return std::strtoll(std::get<std::string>(value).c_str(), nullptr, 10);
}

int integerWidth(const ResultSet &result, std::size_t column)
{
    for (const std::vector<Value> &row : result.rows) {
        if (!row[column])
            continue;
        const std::int64_t value = asInteger(*row[column]);
        if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
            return 8;
    }
    return 4;
}

} // namespace simserver::cell
