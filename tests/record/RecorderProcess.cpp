#include "RecorderProcess.h"

#include <QFile>
#include <QProcessEnvironment>
#include <csignal>

RecorderProcess::RecorderProcess()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(folder_.path());
    QFile password(path(QStringLiteral("pw")));
    if (password.open(QIODevice::WriteOnly))
        password.write("\n");
}

RecorderProcess::~RecorderProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString RecorderProcess::executable()
{
    return QStringLiteral(QUINTARO_RECORD_PATH);
}

void RecorderProcess::writeConfig(const QString &text)
{
    QFile file(path(QStringLiteral("record.ini")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

bool RecorderProcess::start(const QStringList &arguments)
{
    log_.clear();
    process_.start(executable(), QStringList{path(QStringLiteral("record.ini"))} + arguments);
    return process_.waitForStarted(5000);
}

int RecorderProcess::runToEnd(const QStringList &arguments)
{
    log_.clear();
    process_.start(executable(), arguments);
    if (!process_.waitForFinished(30000))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

bool RecorderProcess::terminate(int timeoutMs)
{
    ::kill(pid_t(process_.processId()), SIGTERM);
    return process_.waitForFinished(timeoutMs) && process_.exitStatus() == QProcess::NormalExit;
}

QString RecorderProcess::log()
{
    log_ += QString::fromLocal8Bit(process_.readAllStandardError());
    return log_;
}

qsizetype RecorderProcess::logLines(const QString &text)
{
    qsizetype count = 0;
    for (const QString &line : log().split(u'\n'))
        count += line.contains(text) ? 1 : 0;
    return count;
}

QStringList RecorderProcess::fileLines(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QStringLiteral("\r\n"));
    // Every line ends with CR LF, the last one too: what follows it is empty.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.mid(1);
}
