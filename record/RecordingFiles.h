#pragma once

#include <QString>

class LineList;
class TStringGridModel;

// A slot's two files as the recorder writes them: after every sample the new pairs and raw rows
// are appended in the window's formats and handed to the system, and the slot lets go of them,
// so a recorder that runs for months holds no more than one sample. A file that is new or empty
// starts with its header line (the column names for raw data); one that exists is continued
// after its last line, so a restart neither repeats nor loses a line. What could not be written
// stays with the slot for the next sample; the failure raises FileError.
class RecordingFiles {
public:
    RecordingFiles(const QString &dataFile, const QString &rawFile, const QString &delimiter);

    void appendPairs(LineList &vDateList, LineList &vValueList, const QString &valueName);
    // Rows 1 and below of the raw rows; row 0, the column names, heads a new file.
    void appendRawRows(TStringGridModel &vRawData);

    bool recordsRaw() const { return !rawFile_.isEmpty(); }

private:
    QString dataFile_;
    QString rawFile_;
    QString delimiter_;
};
