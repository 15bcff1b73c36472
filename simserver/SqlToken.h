#pragma once

// One lexical unit of a T-SQL batch. Comments and blanks are not kept: statements are rebuilt
// for SQLite from the tokens alone.

#include <string>

namespace simserver {

enum class TokenKind {
    Word,         // identifier or keyword
    Bracketed,    // [identifier]
    DoubleQuoted, // "text": a string literal or an identifier depending on where it stands
    String,       // 'text' or N'text', kept with its quotes (N dropped)
    Number,
    Variable,     // @name or @@name
    Symbol,       // operators and punctuation
    SqliteName,   // an identifier the rewriter already quoted for SQLite; no later step reads it as text
};

struct Token {
    TokenKind kind = TokenKind::Symbol;
    std::string text;

    bool isSymbol(const char *symbol) const { return kind == TokenKind::Symbol && text == symbol; }
    bool isWord(const char *upperWord) const;
    bool isIdentifier() const
    {
        return kind == TokenKind::Word || kind == TokenKind::Bracketed || kind == TokenKind::DoubleQuoted
               || kind == TokenKind::SqliteName;
    }
    // The identifier's name or the string's text, without brackets or quotes.
    std::string bareName() const;
};

std::string toUpper(std::string text);
// The text as a SQL string literal.
std::string sqlQuoted(const std::string &text);

} // namespace simserver
