#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace AppPaths {

QString stopFile(const QString &executablePath)
{
    const QFileInfo info(executablePath);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return executablePath + QStringLiteral(".out");
    return executablePath.left(executablePath.size() - suffix.size()) + QStringLiteral("out");
}

QString defaultScriptFile()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\Korvex.sql");
#else
    return QDir::home().filePath(QStringLiteral("Korvex.sql"));
#endif
}

QString serverListFile()
{
    return QStringLiteral("ServerList.ini");
}

} // namespace AppPaths
