#include "PersonaRules.h"

namespace simserver::PersonaRules {

namespace {
const char *const seeSpHelp =
    "Specify owner.objectname or use sp_help to check whether the object exists (sp_help may produce lots of output).";
}

std::string versionString(Persona persona)
{
    if (persona == Persona::Ase)
        return "Adaptive Server Enterprise/16.0 SP04 PL04/EBF 30399 SMP/P/x86_64/SLES 12.4/ase160sp04pl04x/3696/64-bit/FBO/"
               "Mon Nov 14 02:18:53 2022";
    return "Microsoft SQL Server 2019 (RTM-CU18) (KB5017593) - 15.0.4261.1 (X64) \n\tSep 12 2022 15:07:06 \n\t"
           "Copyright (C) 2019 Microsoft Corporation\n\tDeveloper Edition (64-bit) on Linux (Debian GNU/Linux 12 (bookworm)) <X64>";
}

bool knowsVersionNumber(Persona persona) { return persona == Persona::Ase; }

bool quotedIdentifierAtLogin(Persona persona) { return persona == Persona::MsSql; }

std::string catalogueSchema(Persona persona) { return persona == Persona::Ase ? "master" : "sys"; }

std::string databaseQualifiedTable(Persona persona, const std::string &table)
{
    return persona == Persona::Ase ? table : "main." + table;
}

ServerError unknownObject(Persona persona, const std::string &writtenName)
{
    if (persona == Persona::Ase)
        return {208, 16, 1, writtenName + " not found. " + seeSpHelp};
    return {208, 16, 1, "Invalid object name '" + writtenName + "'."};
}

ServerError undeclaredVariable(Persona persona, const std::string &name)
{
    if (persona == Persona::Ase)
        return {137, 15, 1, "Must declare variable '" + name + "'."};
    return {137, 15, 2, "Must declare the scalar variable \"" + name + "\"."};
}

ServerError unknownProcedure(Persona persona, const std::string &name)
{
    if (persona == Persona::Ase)
        return {2812, 16, 5, "Stored procedure '" + name + "' not found. " + seeSpHelp};
    return {2812, 16, 62, "Could not find stored procedure '" + name + "'."};
}

ServerError syntaxErrorNear(const std::string &text) { return {102, 15, 1, "Incorrect syntax near '" + text + "'."}; }

ServerError unclosedQuote(const std::string &rest)
{
    return {105, 15, 1, "Unclosed quotation mark after the character string '" + rest + "'."};
}

} // namespace simserver::PersonaRules
