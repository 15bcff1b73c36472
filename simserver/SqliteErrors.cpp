#include "SqliteErrors.h"

#include "PersonaRules.h"
#include "SqlToken.h"

namespace simserver {

namespace {

bool startsWith(const std::string &text, const std::string &prefix) { return text.rfind(prefix, 0) == 0; }

std::string writtenName(const std::string &reported, const std::vector<TableReference> &tables)
{
    for (const TableReference &table : tables)
        if (toUpper(table.rewritten) == toUpper(reported))
            return table.written;
    // A name the user left unqualified, looked up in main by a view standing in for it.
    const std::string main = "main.";
    return reported.rfind(main, 0) == 0 ? reported.substr(main.size()) : reported;
}

} // namespace

ServerError translateSqliteError(Persona persona, const std::string &message, const std::vector<TableReference> &tables)
{
    const std::string noTable = "no such table: ";
    const std::string noColumn = "no such column: ";
    const std::string noFunction = "no such function: ";
    if (startsWith(message, noTable))
        return PersonaRules::unknownObject(persona, writtenName(message.substr(noTable.size()), tables));
    if (startsWith(message, noColumn))
        return {207, 16, 1, "Invalid column name '" + message.substr(noColumn.size()) + "'."};
    if (startsWith(message, noFunction))
        return {195, 15, 10, "'" + message.substr(noFunction.size()) + "' is not a recognized built-in function name."};
    const std::string near = "near \"";
    const auto syntax = message.find(": syntax error");
    if (startsWith(message, near) && syntax != std::string::npos && syntax > near.size())
        return PersonaRules::syntaxErrorNear(message.substr(near.size(), syntax - near.size() - 1));
    if (message == "incomplete input")
        return {102, 15, 1, "Incorrect syntax near the end of the statement."};
    return {50000, 16, 1, message};
}

} // namespace simserver
