#include "FileError.h"

static std::string describe(const QString &action, const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot %1 file \"%2\": %3").arg(action, fileName, reason).toStdString();
}

FileError::FileError(const QString &action, const QString &fileName, const QString &reason)
    : std::runtime_error(describe(action, fileName, reason)), m_fileName(fileName), m_reason(reason)
{
}

QString FileError::fileName() const
{
    return m_fileName;
}

QString FileError::reason() const
{
    return m_reason;
}
