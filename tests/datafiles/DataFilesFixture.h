#pragma once

#include "ContextUnderTest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Slots and the window-wide context, in a fresh folder, with scripted dialogs and the regional
// settings "dd/MM/yyyy HH:mm:ss" with "." as the decimal point.
struct DataFilesFixture : ContextUnderTest {
    DataFilesFixture();

    QString path(const QString &name) const { return folder.filePath(name); }
    // The pairs "01/02/2026 10:00:<i>" and "<i>.5" for i in [first, first + count).
    static void addPairs(SlotState &slot, int first, int count);

    QTemporaryDir folder;
};

// The raw rows as a capture leaves them: column names in row 0, rows below, the last row empty.
void fillRawRows(TStringGridModel &grid, const QList<QStringList> &rows);

// The expected data line of pair i of addPairs, with its CR LF.
QByteArray pairLine(int i);
QByteArray readBytes(const QString &fileName);
void writeBytes(const QString &fileName, const QByteArray &bytes);
// The text in the system's narrow encoding, which the data files use.
QByteArray narrow(const QString &text);
