#include "SqlLexer.h"

#include <cctype>

namespace simserver {

namespace {

bool isWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '#' || c == '$' || u >= 0x80;
}

// Index just past the quoted text starting at `start`, a doubled closing quote standing for
// itself; npos when the quote is never closed.
std::size_t endOfQuoted(std::string_view sql, std::size_t start, char close)
{
    for (std::size_t i = start + 1; i < sql.size(); ++i) {
        if (sql[i] != close)
            continue;
        if (i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return std::string_view::npos;
}

// T-SQL block comments nest.
std::size_t endOfBlockComment(std::string_view sql, std::size_t start)
{
    int depth = 0;
    for (std::size_t i = start; i + 1 < sql.size(); ++i) {
        if (sql[i] == '/' && sql[i + 1] == '*') {
            ++depth;
            ++i;
        } else if (sql[i] == '*' && sql[i + 1] == '/') {
            ++i;
            if (--depth == 0)
                return i + 1;
        }
    }
    return sql.size();
}

} // namespace

LexResult lexSql(std::string_view sql)
{
    LexResult result;
    std::size_t i = 0;
    auto push = [&](TokenKind kind, std::size_t end) {
        result.tokens.push_back({kind, std::string(sql.substr(i, end - i))});
        i = end;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '-' && next == '-') {
            const auto end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end;
        } else if (c == '/' && next == '*') {
            i = endOfBlockComment(sql, i);
        } else if (c == '\'' || c == '"' || c == '[' || ((c == 'N' || c == 'n') && next == '\'')) {
            if (c == 'N' || c == 'n')
                ++i;
            const char open = sql[i];
            const auto end = endOfQuoted(sql, i, open == '[' ? ']' : open);
            if (end == std::string_view::npos) {
                result.unclosedString = std::string(sql.substr(i + 1));
                return result;
            }
            push(open == '\'' ? TokenKind::String : open == '"' ? TokenKind::DoubleQuoted : TokenKind::Bracketed, end);
        } else if (std::isdigit(static_cast<unsigned char>(c)) || (c == '.' && std::isdigit(static_cast<unsigned char>(next)))) {
            std::size_t end = i;
            while (end < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '.')) {
                const bool signedExponent = (sql[end] == 'e' || sql[end] == 'E') && end + 1 < sql.size()
                                            && (sql[end + 1] == '-' || sql[end + 1] == '+');
                end += signedExponent ? 2 : 1;
            }
            push(TokenKind::Number, end);
        } else if (c == '@') {
            std::size_t end = i + 1;
            while (end < sql.size() && (sql[end] == '@' || isWordChar(sql[end])))
                ++end;
            push(TokenKind::Variable, end);
        } else if (isWordChar(c)) {
            std::size_t end = i;
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
            push(TokenKind::Word, end);
        } else {
            static constexpr std::string_view pairs[] = {"<>", "<=", ">=", "!=", "!<", "!>", "||"};
            std::size_t end = i + 1;
            for (auto pair : pairs)
                if (sql.substr(i, 2) == pair)
                    end = i + 2;
            push(TokenKind::Symbol, end);
        }
    }
    return result;
}

} // namespace simserver
