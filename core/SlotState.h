#pragma once

#include "ConnectionWorker.h"
#include "LineList.h"
#include "RoundTripSummary.h"
#include "SampleRoundTrips.h"
#include "TStringGridModel.h"

#include <QStringList>
#include <QTimer>

// Everything one chart slot samples and keeps, without a widget: its timer, its connection on
// a worker thread, the statement, the recorded lines, the raw rows and the file names and
// markers. The slot number 1..6 is the Tag of everything that raises an event for it.
class SlotState {
public:
    explicit SlotState(int number);
    SlotState(const SlotState &) = delete;
    SlotState &operator=(const SlotState &) = delete;
    virtual ~SlotState() = default;

    int number() const { return number_; }
    // A slot runs while its timer is on or while the sample (or Run's login) it sent is out.
    bool running() const { return tmSample.isActive() || waiting(); }
    bool waiting() const { return dbLocal.isPending(outstanding); }
    // The timer stops and whatever the slot has out with the server is abandoned: its answer,
    // should it come, is dropped.
    void stopSampling();

    QTimer tmSample;
    ConnectionWorker dbLocal;
    // Run's connection or the sample now with the server; 0 when none.
    ConnectionWorker::RequestId outstanding = 0;
    // Shows "Waiting for the server..." once a sample has been out longer than its interval.
    QTimer tmWait;

    // State holders, all text.
    QString vSQL;
    // One line per recorded sample, held compactly: a week at one sample a second is 604,800 lines.
    LineList vDateList;
    LineList vValueList;
    // Bumped when Load or Clear replaces both lists: a save under way would otherwise go on
    // with the new lines after the old ones in the same file.
    quint64 listsGeneration = 0;
    // What each recorded sample cost the server, beside its lines; not part of any file.
    SampleRoundTrips roundTrips;
    // Every sample's round trip since Run, recorded or not.
    RoundTripSummary roundTripSummary;
    QStringList vTmpList;
    QString edValue;
    QString edExportFile;
    QString edExportRawFile;
    QString edExFrom;
    QString edExRawFrom;
    // The raw grid's cells: the title row of column names, then one row per result row.
    TStringGridModel vRawData;

private:
    int number_;
};
