#pragma once

// A result cell in the form its column was declared with; the engine's values normally match
// their column already, these cover the odd one that does not.

#include "Engine.h"

#include <cstdint>
#include <string>

namespace simserver::cell {

using Present = Value::value_type;

std::string asText(const Present &value);
double asFloat(const Present &value);
std::int64_t asInteger(const Present &value);

// 4 when every value of the integer column fits an int, else 8: clients (FreeTDS's own spid
// probe among them) expect the int that real servers send for small numbers.
int integerWidth(const ResultSet &result, std::size_t column);

} // namespace simserver::cell
