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
    qsizetype scanned = position_;
    for (;;) {
        qsizetype end = scanned;
        while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n')
            ++end;
        if (end < text_.size()) {
            // A CR at the end of the block may be the first half of CR LF.
            if (text_[end] == u'\r' && end + 1 == text_.size()) {
                const qsizetype offset = end - position_;
                if (fill())
                    end = position_ + offset;
            }
            line = text_.sliced(position_, end - position_);
            if (text_[end] == u'\r' && end + 1 < text_.size() && text_[end + 1] == u'\n')
                ++end;
            position_ = end + 1;
            return true;
        }
        const qsizetype offset = end - position_;
        if (!fill()) {
            if (position_ == text_.size())
                return false;
            line = text_.sliced(position_);
            position_ = text_.size();
            return true;
        }
        scanned = position_ + offset;
    }
}
