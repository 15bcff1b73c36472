#pragma once

#include <QString>
#include <stdexcept>

// A file that could not be opened, read or written; the message names the file and the
// operating system's reason, ready to be shown to the user.
class FileError : public std::runtime_error {
public:
    // action is what failed, e.g. "open" or "write"; reason comes from the OS (QFile::errorString).
    FileError(const QString &action, const QString &fileName, const QString &reason);

    QString fileName() const;
    QString reason() const;

private:
    QString fileName_;
    QString reason_;
};
