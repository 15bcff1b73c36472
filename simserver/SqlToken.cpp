#include "SqlToken.h"

#include <algorithm>
#include <cctype>

namespace simserver {

std::string toUpper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

bool Token::isWord(const char *upperWord) const
{
    return kind == TokenKind::Word && toUpper(text) == upperWord;
}

std::string Token::bareName() const
{
    if (kind == TokenKind::Word || kind == TokenKind::Number || kind == TokenKind::Variable || kind == TokenKind::Symbol
        || text.size() < 2)
        return text;
    const char close = text.back();
    std::string inner;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        inner += text[i];
        if (text[i] == close && text[i + 1] == close)
            ++i;
    }
    return inner;
}

std::string sqlQuoted(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

} // namespace simserver
