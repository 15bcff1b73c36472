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
    if ((kind == TokenKind::Bracketed || kind == TokenKind::DoubleQuoted) && text.size() >= 2)
        return text.substr(1, text.size() - 2);
    return text;
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
