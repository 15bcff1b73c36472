#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The built quintaro-record run as a service runs it, in a folder of its own that holds its INI
// file, a password file "pw" and whatever it writes. It inherits the test's ODBC sandbox and
// runs in the C locale, whose date and time formats the tests read its files with.
class RecorderProcess {
public:
    RecorderProcess();
    ~RecorderProcess();

    QString path(const QString &name) const { return folder_.filePath(name); }
    void writeConfig(const QString &text);

    // Starts it on the INI file with the further arguments; false if it did not start.
    bool start(const QStringList &arguments = {});
    // Runs it to its end (--check, a bad file); returns the exit code.
    int runToEnd(const QStringList &arguments);
    // SIGTERM; true when it ended by itself within timeoutMs.
    bool terminate(int timeoutMs);
    int exitCode() const { return process_.exitCode(); }

    // Standard error so far, and the lines of it that hold the text.
    QString log();
    qsizetype logLines(const QString &text);
    QString standardOutput() { return QString::fromLocal8Bit(process_.readAllStandardOutput()); }

    // The data lines of a performance data file as it stands (the lines after the first).
    QStringList fileLines(const QString &name) const;

    static QString executable();

private:
    QTemporaryDir folder_;
    QProcess process_;
    QString log_;
};
