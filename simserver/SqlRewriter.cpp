#include "SqlRewriter.h"

#include "PersonaRules.h"

#include <set>

namespace simserver {

namespace {

bool isKeyword(const Token &token)
{
    static const std::set<std::string> keywords{
        "SELECT", "FROM", "WHERE", "AND", "OR", "NOT", "NULL", "IS", "IN", "LIKE", "BETWEEN", "CASE", "WHEN",
        "THEN", "ELSE", "END", "AS", "ON", "JOIN", "INNER", "LEFT", "RIGHT", "OUTER", "CROSS", "GROUP", "ORDER",
        "BY", "HAVING", "UNION", "ALL", "DISTINCT", "EXISTS", "INTO", "VALUES", "INSERT", "UPDATE", "DELETE",
        "SET", "ASC", "DESC", "LIMIT", "ESCAPE", "COLLATE", "TOP", "EXCEPT", "INTERSECT"};
    return token.kind == TokenKind::Word && keywords.count(toUpper(token.text));
}

// A token after which a following name is an alias rather than the start of an expression.
bool endsExpression(const Token &token)
{
    switch (token.kind) {
    case TokenKind::Word:
        return !isKeyword(token);
    case TokenKind::Symbol:
        return token.text == ")" || token.text == "*";
    default:
        return true;
    }
}

bool endsSelectList(const Token &token)
{
    static const std::set<std::string> clauses{"FROM", "WHERE", "GROUP", "ORDER", "HAVING", "UNION",
                                               "EXCEPT", "INTERSECT", "INTO", "LIMIT"};
    return token.kind == TokenKind::Word && clauses.count(toUpper(token.text));
}

Token sqliteName(const std::string &name)
{
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return {TokenKind::SqliteName, quoted + "\""};
}

Token sqliteName(const Token &name) { return sqliteName(name.bareName()); }

std::string joinTexts(const std::vector<Token> &tokens, std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t i = from; i < to; ++i)
        text += tokens[i].text;
    return text;
}

} // namespace

SqlRewriter::SqlRewriter(Persona persona, GlobalValues globals) : persona_(persona), globals_(globals) {}

RewrittenStatement SqlRewriter::rewrite(std::vector<Token> tokens) const
{
    RewrittenStatement result;
    if ((result.error = replaceVariables(tokens)))
        return result;
    replaceFunctions(tokens);
    moveTopToLimit(tokens);
    qualifyTables(tokens, result.tables);
    tokens = nameSelectItems(tokens);
    if (!globals_.quotedIdentifier)
        quoteDoubleQuotedStrings(tokens);
    for (const Token &token : tokens) {
        if (!result.sql.empty())
            result.sql += ' ';
        result.sql += token.text;
    }
    return result;
}

std::optional<ServerError> SqlRewriter::replaceVariables(std::vector<Token> &tokens) const
{
    for (Token &token : tokens) {
        if (token.kind != TokenKind::Variable)
            continue;
        const std::string name = toUpper(token.text);
        auto number = [&](std::int64_t value) { token = {TokenKind::Number, std::to_string(value)}; };
        auto string = [&](const std::string &value) { token = {TokenKind::String, sqlQuoted(value)}; };
        if (name == "@@SPID")
            number(globals_.spid);
        else if (name == "@@VERSION_NUMBER" && PersonaRules::knowsVersionNumber(persona_))
            number(PersonaRules::aseVersionNumber);
        else if (name == "@@VERSION")
            string(PersonaRules::versionString(persona_));
        else if (name == "@@TRANCOUNT")
            number(globals_.tranCount);
        else if (name == "@@ROWCOUNT")
            number(globals_.rowCount);
        else if (name == "@@ERROR")
            number(0);
        else if (name == "@@SERVERNAME")
            string("SIMSERVER");
        else if (name == "@@LANGUAGE")
            string("us_english");
        else
            return PersonaRules::undeclaredVariable(persona_, token.text);
    }
    return std::nullopt;
}

void SqlRewriter::replaceFunctions(std::vector<Token> &tokens) const
{
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::Word || !tokens[i + 1].isSymbol("("))
            continue;
        const std::string name = toUpper(tokens[i].text);
        if (name == "ISNULL") { // an operator to SQLite
            tokens[i].text = "ifnull";
            continue;
        }
        const bool noArguments = i + 2 < tokens.size() && tokens[i + 2].isSymbol(")");
        const std::string *session = !noArguments                                 ? nullptr
                                     : name == "DB_NAME"                          ? &globals_.database
                                     : name == "SUSER_NAME" || name == "USER_NAME" ? &globals_.user
                                                                                  : nullptr;
        if (!session)
            continue;
        tokens[i] = {TokenKind::String, sqlQuoted(*session)};
        tokens.erase(tokens.begin() + std::ptrdiff_t(i + 1), tokens.begin() + std::ptrdiff_t(i + 3));
    }
}

void SqlRewriter::moveTopToLimit(std::vector<Token> &tokens) const
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].isWord("SELECT"))
            continue;
        std::size_t top = i + 1;
        while (top < tokens.size() && (tokens[top].isWord("DISTINCT") || tokens[top].isWord("ALL")))
            ++top;
        if (top + 1 >= tokens.size() || !tokens[top].isWord("TOP"))
            continue;
        const bool parenthesized = tokens[top + 1].isSymbol("(");
        const std::size_t countIndex = top + (parenthesized ? 2 : 1);
        const std::size_t end = countIndex + (parenthesized ? 2 : 1);
        if (end > tokens.size() || tokens[countIndex].kind != TokenKind::Number
            || (parenthesized && !tokens[countIndex + 1].isSymbol(")")))
            continue;
        const Token count = tokens[countIndex];
        tokens.erase(tokens.begin() + std::ptrdiff_t(top), tokens.begin() + std::ptrdiff_t(end));
        // The limit closes this select: before the parenthesis that ends its subquery, or at the end.
        std::size_t scopeEnd = top;
        for (int depth = 0; scopeEnd < tokens.size(); ++scopeEnd) {
            if (tokens[scopeEnd].isSymbol("("))
                ++depth;
            else if (tokens[scopeEnd].isSymbol(")") && depth-- == 0)
                break;
        }
        tokens.insert(tokens.begin() + std::ptrdiff_t(scopeEnd), {{TokenKind::Word, "LIMIT"}, count});
    }
}

void SqlRewriter::qualifyTables(std::vector<Token> &tokens, std::vector<TableReference> &tables) const
{
    for (std::size_t i = 0; i + 3 < tokens.size(); ++i) {
        const bool twoDots = tokens[i + 1].isSymbol(".") && tokens[i + 2].isSymbol(".");
        const bool threeParts = tokens[i + 1].isSymbol(".") && tokens[i + 2].isIdentifier()
                                && i + 4 < tokens.size() && tokens[i + 3].isSymbol(".");
        if (!tokens[i].isIdentifier() || !(twoDots || threeParts))
            continue;
        const std::size_t tableIndex = twoDots ? i + 3 : i + 4;
        if (!tokens[tableIndex].isIdentifier())
            continue;
        const std::string table = tokens[tableIndex].bareName();
        const bool sysOwner = threeParts && toUpper(tokens[i + 2].bareName()) == "SYS";
        const std::string rewritten = sysOwner ? "sys." + table : PersonaRules::databaseQualifiedTable(persona_, table);
        tables.push_back({rewritten, joinTexts(tokens, i, tableIndex + 1)});
        const std::string prefix = rewritten.substr(0, rewritten.size() - table.size());
        tokens[i] = {TokenKind::SqliteName, prefix + sqliteName(tokens[tableIndex]).text};
        tokens.erase(tokens.begin() + std::ptrdiff_t(i + 1), tokens.begin() + std::ptrdiff_t(tableIndex + 1));
    }
}

std::vector<Token> SqlRewriter::nameSelectItems(const std::vector<Token> &tokens) const
{
    std::vector<Token> out;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        out.push_back(tokens[i]);
        if (!tokens[i].isWord("SELECT"))
            continue;
        std::size_t at = i + 1;
        while (at < tokens.size() && (tokens[at].isWord("DISTINCT") || tokens[at].isWord("ALL")))
            out.push_back(tokens[at++]);
        std::vector<Token> item;
        int depth = 0;
        for (; at < tokens.size(); ++at) {
            const Token &token = tokens[at];
            if (depth == 0 && (endsSelectList(token) || token.isSymbol(")") || token.isSymbol(";")))
                break;
            if (depth == 0 && token.isSymbol(",")) {
                auto named = nameSelectItem(nameSelectItems(item));
                out.insert(out.end(), named.begin(), named.end());
                out.push_back(token);
                item.clear();
                continue;
            }
            if (token.isSymbol("("))
                ++depth;
            else if (token.isSymbol(")"))
                --depth;
            item.push_back(token);
        }
        auto named = nameSelectItem(nameSelectItems(item));
        out.insert(out.end(), named.begin(), named.end());
        i = at - 1;
    }
    return out;
}

std::vector<Token> SqlRewriter::nameSelectItem(std::vector<Token> item) const
{
    if (item.empty())
        return item;
    const Token marker = sqliteName(std::string(unnamedColumn));
    const Token as{TokenKind::Word, "AS"};
    if (item.size() >= 3 && item[0].isIdentifier() && !isKeyword(item[0]) && item[1].isSymbol("=")) {
        std::vector<Token> expression(item.begin() + 2, item.end());
        expression.push_back(as);
        expression.push_back(sqliteName(item[0]));
        return expression;
    }
    const Token &last = item.back();
    if (item.size() >= 2 && last.isIdentifier() && !isKeyword(last)
        && (item[item.size() - 2].isWord("AS") || endsExpression(item[item.size() - 2]))) {
        item.back() = sqliteName(last);
        return item;
    }
    if (!isColumnReference(item)) {
        item.push_back(as);
        item.push_back(marker);
    }
    return item;
}

bool SqlRewriter::isColumnReference(const std::vector<Token> &item) const
{
    for (std::size_t i = 0; i < item.size(); ++i) {
        const Token &token = item[i];
        if (i % 2 == 1) {
            if (!token.isSymbol("."))
                return false;
            continue;
        }
        const bool name = (token.kind == TokenKind::Word && !isKeyword(token)) || token.kind == TokenKind::Bracketed
                          || (token.kind == TokenKind::DoubleQuoted && globals_.quotedIdentifier);
        const bool star = token.isSymbol("*") && i + 1 == item.size();
        if (!name && !star)
            return false;
    }
    return item.size() % 2 == 1;
}

void SqlRewriter::quoteDoubleQuotedStrings(std::vector<Token> &tokens) const
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::DoubleQuoted)
            continue;
        if (i > 0 && (tokens[i - 1].isWord("AS") || endsExpression(tokens[i - 1])))
            continue;
        tokens[i] = {TokenKind::String, sqlQuoted(tokens[i].bareName())};
    }
}

} // namespace simserver
