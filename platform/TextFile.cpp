#include "TextFile.h"

#include "FileError.h"

#include <QFile>
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
    QStringDecoder decode(converterFor(content.encoding), QStringConverter::Flag::ConvertInitialBom);
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

    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += encode(line);
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
