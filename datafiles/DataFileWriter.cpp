#include "DataFileWriter.h"

#include "FileError.h"

#include <QFileInfo>

namespace {
QSet<QString> &filesBeingWritten()
{
    static QSet<QString> files;
    return files;
}
} // namespace

QString DataFileWriter::key(const QString &fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

bool DataFileWriter::isBeingWritten(const QString &fileName)
{
    return filesBeingWritten().contains(key(fileName));
}

DataFileWriter::DataFileWriter(const QString &fileName)
    : fileName_(fileName), file_(fileName), existed_(QFile::exists(fileName))
{
    const QIODevice::OpenMode mode = existed_ ? QIODevice::Append : QIODevice::WriteOnly;
    if (!file_.open(mode | QIODevice::Unbuffered))
        throw FileError(existed_ ? QStringLiteral("open") : QStringLiteral("create"), fileName,
                        file_.errorString());
    pending_.reserve(flushThreshold + 4096);
    filesBeingWritten().insert(key(fileName_));
}

DataFileWriter::~DataFileWriter()
{
    filesBeingWritten().remove(key(fileName_));
}

void DataFileWriter::writeLine(QStringView text)
{
    pending_ += text;
    pending_ += QLatin1String("\r\n");
}

void DataFileWriter::flush()
{
    if (pending_.isEmpty())
        return;
    const QByteArray bytes = encode_(pending_);
    pending_.truncate(0); // keeps the buffer for the next lines
    if (file_.write(bytes) != bytes.size())
        throw FileError(QStringLiteral("write"), fileName_, file_.errorString());
}

void DataFileWriter::close()
{
    flush();
    file_.close();
}
