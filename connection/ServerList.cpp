#include "ServerList.h"

#include "TextFile.h"

namespace ServerList {

QStringList load(const QString &fileName)
{
    return TextFile::read(fileName).lines;
}

} // namespace ServerList
