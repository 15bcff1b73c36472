#include "DataFilesFixture.h"
#include "PerformanceDataFile.h"
#include "RawDataFile.h"
#include "TestRegistry.h"

#include <QScopeGuard>
#include <cerrno>
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

// Saves with the file size limited to `limit` bytes: a write past it fails part-way, as on a full
// disk, with the system's "File too large".
bool saveWithSizeLimit(rlim_t limit, bool raw, const QString &file, SlotUnderTest &slot, DataFilesFixture &w)
{
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0 || (saved.rlim_cur != RLIM_INFINITY && saved.rlim_cur <= 2 * limit))
        return false;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = limit;
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    });
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        return false;
    save(raw, file, slot, w);
    return true;
}

QString &markerOf(bool raw, SlotUnderTest &slot)
{
    return raw ? slot.edExRawFrom : slot.edExFrom;
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
        // The file may not grow past 1 MB: a few flushes reach it, then one fails part-way.
        constexpr rlim_t limit = 1 << 20;
        QVERIFY(saveWithSizeLimit(limit, raw, file, slot, w));

        const QString &marker = raw ? slot.edExRawFrom : slot.edExFrom;
        bool isNumber = false;
        const int last = marker.toInt(&isNumber);
        QVERIFY2(isNumber && last >= 0 && last < total - 1, qPrintable(marker));
        // The lines up to the marker are on disk, and nothing of the failed write after them.
        const QByteArray written = readBytes(file);
        QVERIFY(qsizetype(written.size()) <= qsizetype(limit));
        QVERIFY(written == expectedUpTo(raw, last));
        QVERIFY(!slot.running());
        QCOMPARE(slot.statusBar.panelText(1),
                 "Sampling Stopped...Cannot write file \"" + file + "\": " + qt_error_string(EFBIG));
        QVERIFY(w.dialogs.asked.isEmpty());

        // The retry writes every entry once, no two lines glued.
        slot.controls.autoSave = true;
        save(raw, file, slot, w);
        QVERIFY(readBytes(file) == expectedUpTo(raw, total - 1));
        QCOMPARE(markerOf(raw, slot), QString::number(total - 1));
    }

    void failedFirstSaveIntoNewFileLeavesNoMarker_data() { addKinds(); }
    void failedFirstSaveIntoNewFileLeavesNoMarker()
    {
        QFETCH(bool, raw);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        fill(slot, raw, 10);
        slot.controls.autoSave = true;
        // The previous file's marker.
        markerOf(raw, slot) = QStringLiteral("5");
        const QString file = w.path("new");
        // Not even the first line fits.
        QVERIFY(saveWithSizeLimit(20, raw, file, slot, w));
        QCOMPARE(readBytes(file), QByteArray());
        QVERIFY(markerOf(raw, slot).isEmpty());

        save(raw, file, slot, w);
        QCOMPARE(readBytes(file), expectedUpTo(raw, 9));
        QCOMPARE(markerOf(raw, slot), QString("9"));
        QCOMPARE(slot.statusBar.panelText(1), QString("Data Saved..."));
    }

    void appendEndsAnUnfinishedLastLineFirst_data()
    {
        QTest::addColumn<bool>("raw");
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QByteArray>("kept");
        for (const bool raw : {false, true}) {
            const char *kind = raw ? "raw data, " : "performance data, ";
            QTest::addRow("%sno line end", kind) << raw << QByteArray("old") << QByteArray("old\r\n");
            QTest::addRow("%sCR alone", kind) << raw << QByteArray("old\r") << QByteArray("old\r\n");
            QTest::addRow("%sLF alone", kind) << raw << QByteArray("old\n") << QByteArray("old\n");
            QTest::addRow("%sCR LF", kind) << raw << QByteArray("old\r\n") << QByteArray("old\r\n");
            QTest::addRow("%sempty file", kind) << raw << QByteArray() << QByteArray();
        }
    }
    void appendEndsAnUnfinishedLastLineFirst()
    {
        QFETCH(bool, raw);
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, kept);
        DataFilesFixture w;
        SlotUnderTest &slot = w.slot(1);
        fill(slot, raw, 3);
        slot.controls.autoSave = true;
        markerOf(raw, slot) = QStringLiteral("0");
        const QString file = w.path("unfinished");
        writeBytes(file, existing);
        save(raw, file, slot, w);
        QCOMPARE(readBytes(file), kept + pairLine(1) + pairLine(2));
        // Nothing new: the file stays as it is.
        save(raw, file, slot, w);
        QCOMPARE(readBytes(file), kept + pairLine(1) + pairLine(2));
    }
};

QUINTARO_TEST(ResumableSaveTest)
#include "ResumableSaveTest.moc"
