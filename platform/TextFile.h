#pragma once

#include <QStringList>
#include <QStringView>

// How a text file's bytes map to characters: the system's narrow (ANSI) encoding without a
// byte-order mark, or a Unicode encoding named by the mark at the start of the file.
enum class TextEncoding { System, Utf8Bom, Utf16LeBom, Utf16BeBom };

// Whole-file reading and writing of line-oriented text, keeping the encoding a file came in.
// Failures raise FileError.
class TextFile {
public:
    struct Content {
        QStringList lines;
        TextEncoding encoding = TextEncoding::System;
    };

    // Reads every line: the encoding is the one a leading byte-order mark names (the mark is not
    // part of the first line), otherwise the system encoding.
    static Content read(const QString &fileName);

    // Creates or replaces the file: the encoding's byte-order mark, then every line followed by
    // CR LF. Characters the encoding cannot hold become its replacement character. In the system
    // encoding, a line equal to one of the replaced file's keeps that line's bytes, so text the
    // encoding could not read (a legacy 8-bit file) survives where the program did not change it.
    static void write(const QString &fileName, const QStringList &lines,
                      TextEncoding encoding = TextEncoding::System);

    // Lines ended by CR LF, LF or a lone CR; a final line end does not start another line.
    static QStringList splitLines(QStringView text);
};
