#include "RecordedSlot.h"

#include "RecorderLog.h"
#include "Regional.h"
#include "RunControl.h"
#include "SampleTimer.h"

#include <algorithm>

namespace {

// What Run and the tick write into panel 1 and 0; the window shows the same texts.
const QString loginFailed = QStringLiteral("Brrr... ");
const QString sampleFailed = QStringLiteral("Sampling Stopped...");
const QString sampleEnd = QStringLiteral("V.T: ");
const QString waitingText = QStringLiteral("Waiting for the server...");
const QString processPrefix = QStringLiteral("S: ");

// A message on one line, as a log line must be.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text.trimmed();
}

} // namespace

RecordedSlot::RecordedSlot(const SlotConfig &config, TWindowState &state, StatusPanels &sbStatus)
    : SlotState(config.number), config_(config), state_(state), sbStatus_(sbStatus),
      files_(config.dataFile, config.rawFile, config.delimiter), valueName_(config.valueName)
{
    metrics_.slot = config.name;
    metrics_.server = config.server;
    tmSample.setInterval(config.intervalSeconds * 1000);
    QObject::connect(&tmSample, &QTimer::timeout, &tmSample, [this] {
        sampleClock_.start();
        valuesBeforeTick_ = vValueList.size();
        SampleTimer::tick(*this, *this, state_);
    });
    QObject::connect(&tmWait, &QTimer::timeout, &tmWait, [this] { SampleTimer::waited(*this); });
    retry_.setSingleShot(true);
    QObject::connect(&retry_, &QTimer::timeout, &retry_, [this] { run(); });
}

SlotSettings RecordedSlot::settings() const
{
    SlotSettings controls;
    controls.interval = QString::number(config_.intervalSeconds);
    controls.getRaw = files_.recordsRaw();
    // Raw rows in a file are of use only with their time.
    controls.withTime = true;
    controls.sameConn = true;
    // Saves never ask to open the file.
    controls.autoSave = true;
    controls.valueName = valueName_;
    controls.separator = config_.delimiter;
    return controls;
}

void RecordedSlot::start()
{
    log(QStringLiteral("started: %1 every %2 s into %3")
            .arg(config_.server)
            .arg(config_.intervalSeconds)
            .arg(config_.dataFile));
    run();
}

void RecordedSlot::stop()
{
    retry_.stop();
    stopSampling();
    writeFiles();
    log(QStringLiteral("stopped"));
}

void RecordedSlot::run()
{
    RunControl::run(*this, *this, state_, sbStatus_, config_.statement, config_.connectionString(), config_.server);
}

void RecordedSlot::setPanelText(int panel, const QString &text)
{
    PanelTexts::setPanelText(panel, text);
    if (panel == 0 && text.startsWith(processPrefix))
        connected(text.mid(processPrefix.size()).section(u'@', 0, 0));
    else if (panel != 1)
        return;
    else if (text.startsWith(sampleEnd))
        sampleEnded();
    else if (text.startsWith(sampleFailed))
        failed(text.mid(sampleFailed.size()));
    else if (text.startsWith(loginFailed))
        failed(text.mid(loginFailed.size()));
    else if (text == waitingText && phase_ != Phase::Waiting) {
        phase_ = Phase::Waiting;
        log(QStringLiteral("waiting for the server: the sample has been out longer than its interval"));
    }
}

void RecordedSlot::connected(const QString &processId)
{
    log(QStringLiteral("%1 %2 as process %3")
            .arg(everConnected_ ? QStringLiteral("reconnected to") : QStringLiteral("connected to"), config_.server,
                 processId));
    everConnected_ = true;
    phase_ = Phase::Connected;
}

void RecordedSlot::sampleEnded()
{
    metrics_.durationSeconds = sampleClock_.isValid() ? sampleClock_.nsecsElapsed() / 1e9 : 0.0;
    ++metrics_.samples;
    // Lines a failed write left behind are older than this sample's.
    if (vValueList.size() > valuesBeforeTick_) {
        const std::optional<double> number = Regional::current().parseNumber(vValueList.last());
        if (!config_.delta)
            metrics_.value = number;
        else if (number && lastNumber_)
            metrics_.value = *number - *lastNumber_;
        lastNumber_ = number;
    }
    writeFiles();
    if (phase_ == Phase::Failed)
        log(QStringLiteral("sampling again"));
    else if (phase_ == Phase::Waiting)
        log(QStringLiteral("the server answers again"));
    phase_ = Phase::Sampling;
    lastFailure_.clear();
    retryMs_ = firstRetryMs;
}

void RecordedSlot::failed(const QString &reason)
{
    ++metrics_.failures;
    const QString text = oneLine(reason);
    if (phase_ != Phase::Failed || text != lastFailure_)
        log(QStringLiteral("failed: ") + text +
            QStringLiteral(" (trying again, waiting up to %1 s between tries)").arg(longestRetryMs / 1000));
    phase_ = Phase::Failed;
    lastFailure_ = text;
    retry_.start(retryMs_);
    retryMs_ = std::min(retryMs_ * 2, longestRetryMs);
}

void RecordedSlot::writeFiles()
{
    try {
        files_.appendPairs(vDateList, vValueList, valueName_);
        files_.appendRawRows(vRawData);
        if (writeFailing_)
            log(QStringLiteral("writing again"));
        writeFailing_ = false;
    } catch (const std::exception &error) {
        ++metrics_.failures;
        if (!writeFailing_)
            log(QStringLiteral("cannot write, keeping the samples for the next try: ") +
                oneLine(QString::fromUtf8(error.what())));
        writeFailing_ = true;
    }
}

void RecordedSlot::log(const QString &text) const
{
    RecorderLog::write(config_.name, text);
}
