#pragma once

// Drivers and users send several statements in one batch without semicolons
// ("select @@spid use [db]", "set textsize 64512 select 1"); T-SQL tells them apart by the
// keywords that can only begin a statement.

#include "SqlToken.h"

#include <cstddef>
#include <vector>

namespace simserver {

struct SplitStatement {
    std::vector<Token> tokens;
    // For "if <condition> <statement>": index in `tokens` where the guarded statement begins.
    std::size_t bodyStart = 0;
};

std::vector<SplitStatement> splitBatch(const std::vector<Token> &tokens);

} // namespace simserver
