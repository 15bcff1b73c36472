#include "BatchSplitter.h"

#include <set>
#include <string>

namespace simserver {

namespace {

const std::set<std::string> &statementKeywords()
{
    static const std::set<std::string> keywords{
        "SELECT", "INSERT", "UPDATE", "DELETE", "USE", "SET", "WAITFOR", "BEGIN", "COMMIT", "ROLLBACK",
        "SAVE", "IF", "EXEC", "EXECUTE", "CREATE", "DROP", "ALTER", "TRUNCATE", "DECLARE", "PRINT"};
    return keywords;
}

// Tracks the statement being collected, to tell a keyword that starts the next statement from
// one that belongs to this one (insert ... select, update ... set, select ... union select).
class StatementState {
public:
    void reset()
    {
        first_.clear();
        sawSelect_ = false;
        sawSet_ = false;
    }

    bool empty() const { return first_.empty(); }

    bool startsNewStatement(const std::string &keyword, const Token *previous) const
    {
        if (empty())
            return false;
        if (keyword == "SELECT") {
            if (previous && (previous->isWord("UNION") || previous->isWord("ALL") || previous->isWord("EXCEPT")
                             || previous->isWord("INTERSECT")))
                return false;
            const bool selectCompletesThis = first_ == "INSERT" || first_ == "CREATE" || first_ == "WITH";
            return !(selectCompletesThis && !sawSelect_);
        }
        if (keyword == "SET")
            return !(first_ == "UPDATE" && !sawSet_);
        return true;
    }

    void take(const Token &token, int depth)
    {
        if (empty())
            first_ = token.kind == TokenKind::Word ? toUpper(token.text) : "?";
        else if (depth == 0 && token.isWord("SELECT"))
            sawSelect_ = true;
        else if (depth == 0 && token.isWord("SET"))
            sawSet_ = true;
    }

private:
    std::string first_;
    bool sawSelect_ = false;
    bool sawSet_ = false;
};

std::vector<std::vector<Token>> splitFlat(const std::vector<Token> &tokens)
{
    std::vector<std::vector<Token>> statements;
    std::vector<Token> current;
    StatementState state;
    int depth = 0;
    auto finish = [&] {
        if (!current.empty())
            statements.push_back(std::move(current));
        current.clear();
        state.reset();
    };
    for (const Token &token : tokens) {
        if (token.isSymbol(";") && depth == 0) {
            finish();
            continue;
        }
        if (depth == 0 && token.kind == TokenKind::Word) {
            const std::string keyword = toUpper(token.text);
            if (statementKeywords().count(keyword)
                && state.startsNewStatement(keyword, current.empty() ? nullptr : &current.back()))
                finish();
        }
        if (token.isSymbol("("))
            ++depth;
        else if (token.isSymbol(")") && depth > 0)
            --depth;
        state.take(token, depth);
        current.push_back(token);
    }
    finish();
    return statements;
}

// An "if" owns the statement after its condition (which may itself be an "if").
SplitStatement joinGuarded(std::vector<std::vector<Token>> &flat, std::size_t &index)
{
    SplitStatement statement{std::move(flat[index++]), 0};
    if (statement.tokens.front().isWord("IF") && index < flat.size()) {
        statement.bodyStart = statement.tokens.size();
        SplitStatement body = joinGuarded(flat, index);
        statement.tokens.insert(statement.tokens.end(), body.tokens.begin(), body.tokens.end());
    }
    return statement;
}

} // namespace

std::vector<SplitStatement> splitBatch(const std::vector<Token> &tokens)
{
    auto flat = splitFlat(tokens);
    std::vector<SplitStatement> statements;
    for (std::size_t index = 0; index < flat.size();)
        statements.push_back(joinGuarded(flat, index));
    return statements;
}

} // namespace simserver
