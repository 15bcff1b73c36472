#include "TextFile.h"

#include "FileError.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

struct ByteOrderMark {
    TextEncoding encoding;
    QStringConverter::Encoding converter;
    QByteArrayView bytes;
};

constexpr ByteOrderMark byteOrderMarks[] = {
    {TextEncoding::Utf8Bom, QStringConverter::Utf8, "\xEF\xBB\xBF"},
    {TextEncoding::Utf16LeBom, QStringConverter::Utf16LE, "\xFF\xFE"},
    {TextEncoding::Utf16BeBom, QStringConverter::Utf16BE, "\xFE\xFF"},
};

QStringConverter::Encoding converterFor(TextEncoding encoding)
{
    for (const ByteOrderMark &mark : byteOrderMarks) {
        if (mark.encoding == encoding)
            return mark.converter;
    }
    return QStringConverter::System;
}

bool startsWithMark(QByteArrayView bytes)
{
    for (const ByteOrderMark &mark : byteOrderMarks) {
        if (bytes.startsWith(mark.bytes))
            return true;
    }
    return false;
}

// The lines of a file in the system encoding that do not survive decoding and encoding again,
// by the text they were read as, in file order.
QHash<QString, QList<QByteArray>> undecodableLines(const QString &fileName)
{
    QHash<QString, QList<QByteArray>> lines;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QByteArray bytes = file.readAll();
    if (startsWithMark(bytes))
        return lines;
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        const QByteArray raw = bytes.sliced(start, end - start);
        QStringDecoder decode(QStringConverter::System,
                              QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
        const QString text = decode(raw);
        QStringEncoder encode(QStringConverter::System);
        if (QByteArray(encode(text)) != raw)
            lines[text].append(raw);
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        take(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        take(bytes.size());
    return lines;
}

} // namespace

TextFile::Content TextFile::read(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("open"), fileName, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("read"), fileName, file.errorString());

    Content content;
    QByteArrayView body(bytes);
    for (const ByteOrderMark &mark : byteOrderMarks) {
        if (body.startsWith(mark.bytes)) {
            content.encoding = mark.encoding;
            body = body.sliced(mark.bytes.size());
            break;
        }
    }
    // The mark has been taken off; a second one would be text, so keep it as a character.
    // Stateless: bytes cut short at the end of the file become a replacement character, not nothing.
    QStringDecoder decode(converterFor(content.encoding),
                          QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    const QString text = decode(body);
    content.lines = splitLines(text);
    return content;
}

void TextFile::write(const QString &fileName, const QStringList &lines, TextEncoding encoding)
{
    QStringConverter::Flags flags = QStringConverter::Flag::Default;
    if (encoding != TextEncoding::System)
        flags |= QStringConverter::Flag::WriteBom;
    QStringEncoder encode(converterFor(encoding), flags);

    QHash<QString, QList<QByteArray>> kept;
    if (encoding == TextEncoding::System)
        kept = undecodableLines(fileName);
    QByteArray bytes;
    for (const QString &line : lines) {
        const auto original = kept.find(line);
        if (original != kept.end()) {
            // Repeated lines take the file's lines in turn; the last one serves any further repeat.
            bytes += original->size() > 1 ? original->takeFirst() : original->first();
        } else {
            bytes += encode(line);
        }
        bytes += encode(u"\r\n");
    }
    if (lines.isEmpty())
        bytes += encode(u""); // an empty file still carries its mark

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(QStringLiteral("create"), fileName, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw FileError(QStringLiteral("write"), fileName, file.errorString());
}

QStringList TextFile::splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toString());
    return lines;
}
