#include "Recorder.h"
#include "RecorderConfig.h"
#include "RecorderLog.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int badFile = 1;
constexpr int badUsage = 2;

const char usage[] = "usage: quintaro-record CONFIG.ini [--listen ADDRESS:PORT]\n"
                     "       quintaro-record --check CONFIG.ini\n";

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = (text + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// Every bad line is named; nothing starts unless there is none.
std::optional<RecorderConfig::Result> readConfig(const QString &fileName)
{
    RecorderConfig::Result config = RecorderConfig::read(fileName);
    for (const QString &error : config.errors)
        print(stderr, error);
    if (!config.ok())
        return std::nullopt;
    return config;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1StringView("--check")) {
        const std::optional<RecorderConfig::Result> config = readConfig(arguments[1]);
        if (!config)
            return badFile;
        print(stdout, QStringLiteral("%1: %2 slot(s), no error").arg(arguments[1]).arg(config->sections.size()));
        return 0;
    }
    QString listenAt;
    if (arguments.size() == 3 && arguments[1] == QLatin1StringView("--listen")) {
        listenAt = arguments.takeLast();
        arguments.removeLast();
    }
    if (arguments.size() != 1 || arguments[0].startsWith(QLatin1StringView("--"))) {
        std::fputs(usage, stderr);
        return badUsage;
    }
    const std::optional<RecorderConfig::Result> config = readConfig(arguments[0]);
    if (!config)
        return badFile;

    Recorder recorder(config->sections);
    if (!listenAt.isEmpty()) {
        try {
            RecorderLog::write(QStringLiteral("serving /metrics on ") + recorder.listen(listenAt));
        } catch (const std::invalid_argument &error) {
            print(stderr, QString::fromUtf8(error.what()));
            return badUsage;
        }
    }
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &application, [&recorder] {
        recorder.stop();
        RecorderLog::write(QStringLiteral("ended by a signal; every recorded sample is in its file"));
        QCoreApplication::quit();
    });
    recorder.start();
    const int exitCode = application.exec();
    // The files are written; a connection thread still closing, or stuck in the driver, is
    // left to the operating system rather than waited for or torn down under its feet.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
