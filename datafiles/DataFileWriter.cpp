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
    if (existed_) {
        QFile probe(fileName);
        char last = 0;
        if (probe.open(QIODevice::ReadOnly) && !probe.isSequential() && probe.size() > 0
            && probe.seek(probe.size() - 1) && probe.getChar(&last) && last != '\n')
            lineEndFirst_ = last == '\r' ? QByteArrayLiteral("\n") : QByteArrayLiteral("\r\n");
    }
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
    QByteArray bytes = encode_(pending_);
    pending_.truncate(0); // keeps the buffer for the next lines
    if (!lineEndFirst_.isEmpty())
        bytes.prepend(lineEndFirst_);
    const qint64 sizeBefore = file_.size();
    for (qint64 done = 0; done < bytes.size();) {
        // A write cut short reports no reason; the next one for the rest gives the system's.
        const qint64 written = file_.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file_.errorString();
            // Half a line on disk would be glued to the retry's first line.
            if (!file_.isSequential())
                file_.resize(sizeBefore);
            throw FileError(QStringLiteral("write"), fileName_, reason);
        }
        done += written;
    }
    lineEndFirst_.clear();
}

void DataFileWriter::close()
{
    flush();
    file_.close();
}
