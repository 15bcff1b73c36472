#include "TextLineReader.h"

#include "FileError.h"

namespace {
constexpr qint64 blockSize = 1 << 16;
}

TextLineReader::TextLineReader(const QString &fileName)
    : fileName_(fileName), file_(fileName), decode_(QStringConverter::System)
{
    if (!file_.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("open"), fileName, file_.errorString());
}

bool TextLineReader::fill()
{
    const QByteArray block = file_.read(blockSize);
    if (block.isEmpty()) {
        if (file_.error() != QFileDevice::NoError)
            throw FileError(QStringLiteral("read"), fileName_, file_.errorString());
        return false;
    }
    text_.remove(0, position_);
    position_ = 0;
    text_ += decode_(block);
    return true;
}

bool TextLineReader::readLine(QString &line)
{
    QStringView view;
    if (!readLine(view))
        return false;
    line = view.toString();
    return true;
}

bool TextLineReader::readLine(QStringView &line)
{
    const auto take = [&](qsizetype end) {
        qsizetype length = end - position_;
        if (length > 0 && text_[position_ + length - 1] == u'\r')
            --length;
        line = QStringView(text_).sliced(position_, length);
    };
    qsizetype scanned = position_;
    for (;;) {
        const qsizetype end = text_.indexOf(u'\n', scanned);
        if (end >= 0) {
            take(end);
            position_ = end + 1;
            return true;
        }
        const qsizetype offset = text_.size() - position_;
        if (!fill()) {
            if (position_ == text_.size())
                return false;
            take(text_.size());
            position_ = text_.size();
            return true;
        }
        scanned = position_ + offset;
    }
}
