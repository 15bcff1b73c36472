#pragma once

// Turns one T-SQL statement, as the program and drivers write them, into SQLite:
// `db..table`, `alias=expr` and bare aliases in select lists, `top n`, global variables, and
// double-quoted string literals while quoted_identifier is off (ASE's default). Columns the
// server would leave unnamed get a marker alias, so the result can report them without a name.

#include "Engine.h"
#include "SqlToken.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simserver {

// What global variables read for the session running the statement.
struct GlobalValues {
    int spid = 0;
    std::string user;
    std::string database;
    int tranCount = 0;
    std::int64_t rowCount = 0;
    bool quotedIdentifier = true; // off: "text" is a string literal
};

struct TableReference {
    std::string rewritten; // as SQLite names it in its messages
    std::string written;   // as the user wrote it
};

struct RewrittenStatement {
    std::string sql;
    std::vector<TableReference> tables;
    std::optional<ServerError> error;
};

class SqlRewriter {
public:
    static constexpr const char *unnamedColumn = "__simserver_unnamed";

    SqlRewriter(Persona persona, GlobalValues globals);
    RewrittenStatement rewrite(std::vector<Token> tokens) const;

private:
    std::optional<ServerError> replaceVariables(std::vector<Token> &tokens) const;
    void replaceFunctions(std::vector<Token> &tokens) const;
    void moveTopToLimit(std::vector<Token> &tokens) const;
    void qualifyTables(std::vector<Token> &tokens, std::vector<TableReference> &tables) const;
    std::vector<Token> nameSelectItems(const std::vector<Token> &tokens) const;
    std::vector<Token> nameSelectItem(std::vector<Token> item) const;
    bool isColumnReference(const std::vector<Token> &item) const;
    void quoteDoubleQuotedStrings(std::vector<Token> &tokens) const;

    Persona persona_;
    GlobalValues globals_;
};

} // namespace simserver
