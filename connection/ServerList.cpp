#include "ServerList.h"

#include "TextFile.h"

#include <QFile>

namespace ServerList {

QStringList load(const QString &fileName)
{
    return TextFile::read(fileName).lines;
}

bool remember(const QString &fileName, const QString &server, QStringList &lines)
{
    lines.clear();
    TextEncoding encoding = TextEncoding::System;
    if (QFile::exists(fileName)) {
        TextFile::Content content = TextFile::read(fileName);
        lines = std::move(content.lines);
        encoding = content.encoding;
        if (lines.contains(server, Qt::CaseInsensitive))
            return false;
    }
    lines.append(server);
    TextFile::write(fileName, lines, encoding);
    return true;
}

} // namespace ServerList
