#include "RecorderLog.h"

#include <QDateTime>
#include <cstdio>

namespace RecorderLog {

void write(const QString &text)
{
    const QByteArray line = (QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + text + u'\n').toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void write(const QString &slot, const QString &text)
{
    write(u'[' + slot + QStringLiteral("] ") + text);
}

} // namespace RecorderLog
