#include "DataFilesFixture.h"
#include "PerformanceDataFile.h"
#include "RawDataFile.h"
#include "TestRegistry.h"

#include <QScopeGuard>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// Both data files hold the same lines for n entries: the pairs, and raw rows of the pair's two
// cells joined by a comma. The performance data file starts with its header.
void fill(SlotUnderTest &slot, bool raw, int entries)
{
    if (!raw) {
        DataFilesFixture::addPairs(slot, 0, entries);
        return;
    }
    slot.controls.separator = QStringLiteral(",");
    TStringGridModel &grid = slot.vRawData;
    grid.setGridColCount(2);
    grid.setGridRowCount(entries + 1);
    for (int row = 0; row < entries; ++row) {
        const QStringList cells = QString::fromLatin1(pairLine(row)).chopped(2).split(u',');
        grid.setCell(0, row, cells[0]);
        grid.setCell(1, row, cells[1]);
    }
}

QByteArray expectedUpTo(bool raw, int last)
{
    QByteArray lines = raw ? QByteArray() : QByteArray("Date,Value\r\n");
    for (int i = 0; i <= last; ++i)
        lines += pairLine(i);
    return lines;
}

void save(bool raw, const QString &file, SlotUnderTest &slot, DataFilesFixture &w)
{
    (raw ? SaveRawData : SavePerformanceData)(file, slot, slot, w.context);
}

void addKinds()
{
    QTest::addColumn<bool>("raw");
    QTest::newRow("performance data") << false;
    QTest::newRow("raw data") << true;
}

} // namespace

// What the performance and raw data saves share: how they show their progress and how a
// failure halfway leaves the marker.
class ResumableSaveTest : public QObject {
    Q_OBJECT

private slots:
    void textsShowAtOnceAtStartAndEnd_data() { addKinds(); }
    void textsShowAtOnceAtStartAndEnd()
    {
        QFETCH(bool, raw);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        fill(slot, raw, 3);
        slot.controls.autoSave = true;
        const QString file = w.path("shown");
        save(raw, file, slot, w);
        QCOMPARE(readBytes(file), expectedUpTo(raw, 2));
        QCOMPARE(slot.statusBar.repainted.value(0), raw ? QString("Saving Raw Data...") : QString("Saving Data..."));
        QCOMPARE(slot.statusBar.repainted.last(), QString("Data Saved..."));
        QCOMPARE(w.sbStatus.repainted.value(0), (raw ? "Saving Raw Performance Data to " : "Saving Performance Data to ") + file);
        QCOMPARE(w.sbStatus.repainted.last(), (raw ? "Saved Raw Performance Data to " : "Data Saved to ") + file);
    }

    void failureHalfwayKeepsMarkerOfLinesOnDisk_data() { addKinds(); }
    void failureHalfwayKeepsMarkerOfLinesOnDisk()
    {
        QFETCH(bool, raw);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        constexpr int total = 200000;
        fill(slot, raw, total);
        slot.tmSample.start();
        const QString file = w.path("limited");
        // The file may not grow past 1 MB: a few flushes reach it, then one fails.
        constexpr rlim_t limit = 1 << 20;
        {
            rlimit saved{};
            QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
            QVERIFY(saved.rlim_cur == RLIM_INFINITY || saved.rlim_cur > 2 * limit);
            const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved;
            small.rlim_cur = limit;
            const auto restore = qScopeGuard([&] {
                setrlimit(RLIMIT_FSIZE, &saved);
                std::signal(SIGXFSZ, previousHandler);
            });
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
            save(raw, file, slot, w);
        }

        const QString &marker = raw ? slot.edExRawFrom : slot.edExFrom;
        bool isNumber = false;
        const int last = marker.toInt(&isNumber);
        QVERIFY2(isNumber && last >= 0 && last < total - 1, qPrintable(marker));
        // Every line up to the marker is on disk, whatever part of the failed write is after them.
        const QByteArray written = readBytes(file);
        QVERIFY(qsizetype(written.size()) <= qsizetype(limit));
        QVERIFY(written.startsWith(expectedUpTo(raw, last)));
        QVERIFY(!slot.running());
        QVERIFY2(slot.statusBar.panelText(1).startsWith("Sampling Stopped...Cannot write file"),
                 qPrintable(slot.statusBar.panelText(1)));
        QVERIFY(w.dialogs.asked.isEmpty());
    }
};

QUINTARO_TEST(ResumableSaveTest)
#include "ResumableSaveTest.moc"
