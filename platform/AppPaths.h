#pragma once

#include <QString>

// Where the program's fixed files live on this operating system.
namespace AppPaths {

// The stop file: the executable's path with its extension replaced by ".out",
// or ".out" appended where the name has no extension.
QString stopFile(const QString &executablePath);

// The custom SQL script loaded at start and shown in the file-name box.
QString defaultScriptFile();

// The list of servers connected to, in the working directory.
QString serverListFile();

} // namespace AppPaths
