#pragma once

// SQLite's messages told as the real servers tell them.

#include "Engine.h"
#include "SqlRewriter.h"

#include <string>
#include <vector>

namespace simserver {

// `tables`: the names the rewriter changed, so a missing table is named as the user wrote it.
ServerError translateSqliteError(Persona persona, const std::string &message, const std::vector<TableReference> &tables);

} // namespace simserver
