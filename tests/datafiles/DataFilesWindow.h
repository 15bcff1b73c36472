#pragma once

#include "ScriptedDialogs.h"
#include "TChartSlot.h"
#include "paMonSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The real window, built offscreen in a fresh folder with scripted dialogs and the regional
// settings "dd/MM/yyyy HH:mm:ss" with "." as the decimal point.
struct DataFilesWindow {
    DataFilesWindow();
    ~DataFilesWindow();

    TChartSlot &slot(int n) { return *window->slotByTag(n); }
    QString path(const QString &name) const { return folder.filePath(name); }
    // The pairs "01/02/2026 10:00:<i>" and "<i>.5" for i in [first, first + count).
    static void addPairs(TChartSlot &slot, int first, int count);

    QTemporaryDir folder;
    QStringList scratch;
    std::unique_ptr<TfmMonSettings> window;
    ScriptedDialogs *dialogs = nullptr;
};

// The expected data line of pair i of addPairs, with its CR LF.
QByteArray pairLine(int i);
QByteArray readBytes(const QString &fileName);
void writeBytes(const QString &fileName, const QByteArray &bytes);
// The text in the system's narrow encoding, which the data files use.
QByteArray narrow(const QString &text);
