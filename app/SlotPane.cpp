#include "SlotPane.h"

#include "SampleReadout.h"
#include "StripLayout.h"
#include "TChart.h"
#include "TChartSlot.h"
#include "TFoldPicture.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "WindowDesign.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The members whose names break the slot-number pattern.
struct IrregularNames {
    const char *pane;
    const char *series;
    SeriesKind designKind;
    const char *loadButton;
    const char *intervalLabel;
    const char *titleLabel;
    const char *delimiterLabel;
};

constexpr IrregularNames irregularNames[6] = {
    {"paLeft1", "Series1", SeriesKind::FastLine, "bbtLoad", "lbIval", "lbValueTitle", "lbDelimit"},
    {"paRight1", "Series2", SeriesKind::FastLine, "bbtLoad2", "lbRate", "Label3", "Label1"},
    {"paLeft2", "LineSeries1", SeriesKind::Line, "bbtLoad3", "Label5", "Label6", "Label4"},
    {"paRight2", "Series4", SeriesKind::FastLine, "bbtLoad4", "Label8", "Label9", "Label7"},
    {"paLeft3", "LineSeries2", SeriesKind::Line, "bbtLoad5", "Label11", "Label12", "Label10"},
    {"paRight3", "LineSeries3", SeriesKind::Line, "bbtLoad6", "Label14", "Label15", "Label13"},
};

constexpr int statusBarHeight = 20;

QString numbered(const char *name, int n)
{
    return QString::fromLatin1(name) + QString::number(n);
}

void buildControlStrip(TChartSlot &slot, const IrregularNames &names)
{
    const int n = slot.number();
    StripLayout strip(slot.paControls, n);
    const bool first = n == 1;

    slot.bbtStartSampling = strip.button(numbered("bbtStartSampling", n), "R&un", {3, 3, 40, 22});
    slot.bbtStopSampling = strip.button(numbered("bbtStopSampling", n), first ? "Sto&p" : "Stop", {3, 26, 40, 22});
    slot.lbInterval = strip.label(names.intervalLabel, "Sec.", {46, 7});
    slot.edInterval = strip.edit(numbered("edInterval", n), "3", {70, 3, 24, 21});
    slot.cbStyle = strip.comboBox(numbered("cbStyle", n), {98, 3, 66, 21});
    slot.cbStyle->addItems({"FastLine", "Line", "Bar", "Area", "Point"});
    slot.cbStyle->setCurrentText("FastLine");
    slot.cbTime = strip.checkBox(numbered("cbTime", n), "&Time", false, {171, 5, 46, 17});
    slot.bbtLoad = strip.button(names.loadButton, "Load", {223, 3, 45, 21});
    slot.bbtShowSQL = strip.button(numbered("bbtShowSQL", n), "Show SQL", {270, 3, 64, 21});
    slot.bbtUpdateSQL = strip.button(numbered("bbtUpdateSQL", n), "Update SQL", {335, 3, 67, 21});
    slot.paColor = strip.swatch(numbered("paColor", n), QColor(255, 0, 0), {47, 27, 21, 20});
    slot.lbTitle = strip.label(names.titleLabel, "Title", {72, 31});
    slot.edValueName = strip.edit(numbered("edValueName", n), "", {97, 28, 66, 21});
    slot.edValueName->setToolTip("Describe Value for Data Export");
    slot.cbMarks = strip.checkBox(numbered("cbMarks", n), "&Marks", false, {171, 28, 49, 17});
    slot.bbtExport = strip.button(numbered("bbtExport", n), "Export", {223, 25, 45, 22});
    slot.cbRawData = strip.checkBox(numbered("cbRawData", n), "Get Raw", false, {271, 27, 62, 17});
    slot.bbtExportRawData = strip.button(numbered("bbtExportRawData", n), "Export Raw", {335, 25, 67, 22});
    slot.cbSameConn = strip.checkBox(numbered("cbSameConn", n), first ? "Same Co&nn " : "Same Co&nn. ", true,
                                     {4, 51, 78, 17});
    slot.cbAutoSave = strip.checkBox(numbered("cbAutoSave", n), "&Auto Save", false, {97, 51, 69, 17});
    slot.cbAutoSave->setToolTip("Save File Automatically Each 5 Minutes");
    slot.cbDelta = strip.checkBox(numbered("cbDelta", n), "&Delta", false, {171, 51, 48, 17});
    slot.bbtClear = strip.button(numbered("bbtClear", n), "Clear", {223, 48, 45, 21});
    slot.lbDelimiter = strip.label(names.delimiterLabel, "Delimiter:", {273, 51});
    slot.edSeparator = strip.edit(numbered("edSeparator", n), "^", {320, 49, 11, 19});
    slot.edSeparator->setFrame(false);
    slot.bbtClearRawData = strip.button(numbered("bbtClearRawData", n), "Clear Raw", {335, 48, 67, 21});

    strip.setTabOrder({slot.cbStyle, slot.paColor, slot.cbMarks, slot.cbDelta, slot.bbtStartSampling,
                       slot.bbtStopSampling, slot.bbtClear, slot.bbtExport, slot.cbRawData, slot.bbtExportRawData,
                       slot.edSeparator, slot.bbtClearRawData, slot.cbAutoSave, slot.edInterval, slot.bbtShowSQL,
                       slot.bbtUpdateSQL, slot.edValueName, slot.bbtLoad, slot.cbSameConn, slot.cbTime});
}

void buildChart(TChartSlot &slot, const IrregularNames &names)
{
    const int n = slot.number();
    slot.chrtStatistics = new TChart(slot.pane);
    slot.chrtStatistics->setObjectName(numbered("chrtStatistics", n));
    slot.chrtStatistics->setProperty("Tag", n);
    slot.chrtStatistics->setSeriesName(QString::fromLatin1(names.series));
    slot.chrtStatistics->setSeriesKind(names.designKind);
    slot.chrtStatistics->setFootText("Performance Analysis");
    // The chart fills what the docked bars leave, down to nothing, so the bars stay whole.
    slot.chrtStatistics->setMinimumSize(1, 1);

    slot.sgRawData = new TStringGrid(slot.vRawData, slot.chrtStatistics);
    slot.sgRawData->setObjectName(numbered("sgRawData", n));
    slot.sgRawData->setProperty("Tag", n);
    slot.sgRawData->setOptions(TStringGrid::RangeSelect | TStringGrid::ColSizing | TStringGrid::Editing
                               | TStringGrid::GridLines);
    slot.sgRawData->hide();
    slot.chrtStatistics->setFillChild(slot.sgRawData);
}

void buildFoldBar(TChartSlot &slot)
{
    const int n = slot.number();
    slot.paHide = new QWidget(slot.pane);
    slot.paHide->setObjectName(numbered("paHide", n));
    slot.paHide->setFixedHeight(WindowDesign::foldBarHeight);
    auto *layout = new QVBoxLayout(slot.paHide);
    layout->setContentsMargins(0, 0, 0, 0);
    slot.imUp = new TFoldPicture(TFoldPicture::Direction::Up, slot.paHide);
    slot.imDown = new TFoldPicture(TFoldPicture::Direction::Down, slot.paHide);
    for (TFoldPicture *picture : {slot.imUp, slot.imDown}) {
        picture->setProperty("Tag", n);
        layout->addWidget(picture);
    }
    slot.imUp->setObjectName(numbered("imUp", n));
    slot.imDown->setObjectName(numbered("imDown", n));
    slot.imUp->hide();
}

} // namespace

void buildSlotPane(TChartSlot &slot, QWidget *parent)
{
    const int n = slot.number();
    const IrregularNames &names = irregularNames[n - 1];

    slot.pane = new QFrame(parent);
    slot.pane->setObjectName(names.pane);
    slot.pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // A pane may be dragged down to a few pixels; its content is then cut off, not squeezed.
    slot.pane->setMinimumSize(1, 1);

    slot.sbStatus = new TStatusBar({98, 200, 500}, slot.pane);
    slot.sbStatus->setObjectName(numbered("sbStatus", n));
    slot.sbStatus->setProperty("Tag", n);
    slot.sbStatus->setFixedHeight(statusBarHeight);

    buildChart(slot, names);
    buildFoldBar(slot);

    slot.paControls = new QWidget(slot.pane);
    slot.paControls->setObjectName(numbered("paControls", n));
    slot.paControls->setFixedHeight(WindowDesign::slotStripHeight);
    buildControlStrip(slot, names);

    auto *layout = new QVBoxLayout(slot.pane);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(slot.sbStatus);
    layout->addWidget(slot.chrtStatistics, 1);
    layout->addWidget(slot.paHide);
    layout->addWidget(slot.paControls);

    SampleReadout::attach(slot);
}
