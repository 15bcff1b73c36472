#pragma once

#include <QString>
#include <QStringList>

// The servers connected to, one name a line, kept in ServerList.ini in the working directory.
namespace ServerList {

// The file's lines in file order; raises FileError when the file cannot be read.
QStringList load(const QString &fileName);

// Appends the server to the file unless a line already names it in any letter case, keeping
// the file's encoding and byte-order mark; a missing file is created in the system encoding.
// The lines pass through `lines` (emptied first). True when the file was written; raises
// FileError when it cannot be read or written.
bool remember(const QString &fileName, const QString &server, QStringList &lines);

} // namespace ServerList
