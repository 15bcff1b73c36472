#pragma once

#include <QFile>
#include <QSet>
#include <QString>
#include <QStringEncoder>

// Appends lines to a data file in the system's narrow encoding without a byte-order mark,
// creating the file when it does not exist. Lines gather in memory and reach the file at
// flush(), so a million lines cost a few hundred writes. A file whose last line lacks its end
// gets it before the first new line. A flush that fails leaves the file as it was before it,
// so the lines on disk are whole and match the marker. Failures raise FileError with the
// system's reason.
class DataFileWriter {
public:
    explicit DataFileWriter(const QString &fileName);

    DataFileWriter(const DataFileWriter &) = delete;
    DataFileWriter &operator=(const DataFileWriter &) = delete;
    ~DataFileWriter();

    // A save that starts while another one is writing the same file (an auto-save tick or a
    // click during a long save) would write the same pairs again, interleaved with the first.
    static bool isBeingWritten(const QString &fileName);

    // Whether the file was there before: the writers then continue it after their marker.
    bool existed() const { return existed_; }

    // Adds the text and CR LF.
    void writeLine(QStringView text);
    // Adds text that the line's later parts complete.
    void write(QStringView text) { pending_ += text; }
    void write(QChar c) { pending_ += c; }
    // Worth flushing: enough text has gathered.
    bool full() const { return pending_.size() >= flushThreshold; }
    // Encodes and writes everything gathered so far.
    void flush();
    void close();

private:
    static constexpr qsizetype flushThreshold = 1 << 18;

    static QString key(const QString &fileName);

    QString fileName_;
    QFile file_;
    bool existed_;
    QString pending_;
    // The end of the file's unfinished last line, written with the first flush.
    QByteArray lineEndFirst_;
    QStringEncoder encode_{QStringConverter::System};
};
