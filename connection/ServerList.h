#pragma once

#include <QString>
#include <QStringList>

// The servers connected to, one name a line, kept in ServerList.ini in the working directory.
namespace ServerList {

// The file's lines in file order; raises FileError when the file cannot be read.
QStringList load(const QString &fileName);

} // namespace ServerList
