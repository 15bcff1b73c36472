#include "FileError.h"

static std::string describe(const QString &action, const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot %1 file \"%2\": %3").arg(action, fileName, reason).toStdString();
}

FileError::FileError(const QString &action, const QString &fileName, const QString &reason)
    : std::runtime_error(describe(action, fileName, reason)), fileName_(fileName), reason_(reason)
{
}

QString FileError::fileName() const
{
    return fileName_;
}

QString FileError::reason() const
{
    return reason_;
}
