#pragma once

// Where the two server kinds differ in what they say and accept.

#include "Engine.h"

#include <cstdint>
#include <string>

namespace simserver {

namespace PersonaRules {

std::string versionString(Persona persona);
// ASE alone knows @@version_number.
bool knowsVersionNumber(Persona persona);
constexpr std::int64_t aseVersionNumber = 16000;
// A session's quoted_identifier at login: ASE starts with it off, so "text" compares as a string.
bool quotedIdentifierAtLogin(Persona persona);
// SQLite schema holding the persona's catalogue and monitoring views.
std::string catalogueSchema(Persona persona);
// What `db..table` becomes for SQLite. ASE finds its monitoring tables in master; SQL Server
// keeps its dm_* views under sys only, so `master..dm_x` must miss.
std::string databaseQualifiedTable(Persona persona, const std::string &table);

ServerError unknownObject(Persona persona, const std::string &writtenName);
ServerError undeclaredVariable(Persona persona, const std::string &name);
ServerError unknownProcedure(Persona persona, const std::string &name);
ServerError syntaxErrorNear(const std::string &text);
ServerError unclosedQuote(const std::string &rest);

} // namespace PersonaRules

} // namespace simserver
