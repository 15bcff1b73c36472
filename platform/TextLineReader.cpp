#include "TextLineReader.h"

#include "FileError.h"

namespace {
constexpr qint64 blockSize = 1 << 16;
}

TextLineReader::TextLineReader(const QString &fileName)
    : m_fileName(fileName), m_file(fileName), m_decode(QStringConverter::System)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("open"), fileName, m_file.errorString());
}

bool TextLineReader::fill()
{
    const QByteArray block = m_file.read(blockSize);
    if (block.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            throw FileError(QStringLiteral("read"), m_fileName, m_file.errorString());
        return false;
    }
    m_text.remove(0, m_position);
    m_position = 0;
    m_text += m_decode(block);
    return true;
}

bool TextLineReader::readLine(QString &line)
{
    qsizetype scanned = m_position;
    for (;;) {
        qsizetype end = scanned;
        while (end < m_text.size() && m_text[end] != u'\r' && m_text[end] != u'\n')
            ++end;
        if (end < m_text.size()) {
            // A CR at the end of the block may be the first half of CR LF.
            if (m_text[end] == u'\r' && end + 1 == m_text.size()) {
                const qsizetype offset = end - m_position;
                if (fill())
                    end = m_position + offset;
            }
            line = m_text.sliced(m_position, end - m_position);
            if (m_text[end] == u'\r' && end + 1 < m_text.size() && m_text[end + 1] == u'\n')
                ++end;
            m_position = end + 1;
            return true;
        }
        const qsizetype offset = end - m_position;
        if (!fill()) {
            if (m_position == m_text.size())
                return false;
            line = m_text.sliced(m_position);
            m_position = m_text.size();
            return true;
        }
        scanned = m_position + offset;
    }
}
