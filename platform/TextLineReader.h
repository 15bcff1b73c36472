#pragma once

#include <QFile>
#include <QString>
#include <QStringDecoder>

// Reads a long text file one line at a time in the system's narrow encoding, so a caller can
// stop between lines. Only LF ends a line, with the CR before it if any: a lone CR inside a line
// is part of it (a CR that ends the file is dropped as half a line end). Failures raise FileError.
class TextLineReader {
public:
    explicit TextLineReader(const QString &fileName);

    // The next line without its end, or false once every line has been read.
    bool readLine(QString &line);
    // The same without a copy: the view holds until the next read.
    bool readLine(QStringView &line);

private:
    // Appends the next block of decoded text; false at the end of the file.
    bool fill();

    QString fileName_;
    QFile file_;
    QStringDecoder decode_;
    QString text_;
    qsizetype position_ = 0;
};
