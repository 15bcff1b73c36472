#pragma once

#include <QFile>
#include <QString>

// Makes `path` a file this process can read but not write. Permission bits do not stop the
// superuser, so there the name becomes a link to a kernel file that refuses every write.
inline bool makeReadOnlyFile(const QString &path, const QByteArray &bytes)
{
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    file.close();
    QFile::remove(path);
    return QFile::link(QStringLiteral("/proc/version"), path);
}
