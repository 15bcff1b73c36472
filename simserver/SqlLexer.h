#pragma once

#include "SqlToken.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simserver {

struct LexResult {
    std::vector<Token> tokens;
    std::optional<std::string> unclosedString; // the text after an unterminated quote
};

LexResult lexSql(std::string_view sql);

} // namespace simserver
