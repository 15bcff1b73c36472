#include "paMonSettings.h"

#include "AppPaths.h"
#include "ConnectionControls.h"
#include "CustomSqlControls.h"
#include "MnemonicPrecedence.h"
#include "SlotPane.h"
#include "StripLayout.h"
#include "TChart.h"
#include "TFoldPicture.h"
#include "TQtDialogs.h"
#include "TRadioGroup.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TWidgetEvents.h"
#include "WindowDesign.h"
#include "WindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

// The window's construction: every widget at its design place, and every event wired to its
// handler. The handlers themselves are in paMonSettings.cpp.

namespace {

constexpr QSize designClientSize(827, 610);
constexpr int designRightColumnWidth = 413;
constexpr int closedPaneHeight = 3;

void configureMemo(QPlainTextEdit *memo)
{
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace

TfmMonSettings::TfmMonSettings(QStringList &vScratchList, QWidget *parent)
    : QWidget(parent), state(vScratchList), dialogs_(std::make_unique<TQtDialogs>())
{
    setObjectName(QStringLiteral("fmMonSettings"));
    setWindowTitle(WindowDesign::caption);
    // The strips' pixel positions were laid out for an 8-point sans-serif dialog font.
    QFont dialogFont(QStringLiteral("Liberation Sans"));
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    for (int n = 1; n <= slotCount; ++n)
        slots_[n - 1] = std::make_unique<TChartSlot>(n);

    setupFoldBar();
    setupControlStrip();
    setupChartArea();
    setupCustomSqlPanel();
    // Six "&Time" boxes and six "R&un" buttons share the letters of the control strip's own.
    MnemonicPrecedence::give(bbtSample, this);
    MnemonicPrecedence::give(cbCustom, this);
    connectionControls_ = std::make_unique<ConnectionControls>(ConnectionControls::Widgets{
        edSRV, cbMonTable, meTableDesc, cbMonColumn, meColumnDesc, cbCustom, rgGRP, reSQL, sgTest});
    customSqlControls_ =
        std::make_unique<CustomSqlControls>(CustomSqlControls::Widgets{paCustomSQL, reLoadSQL, edFileName});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(paHide);
    layout->addWidget(paControls);
    layout->addWidget(paChartsControl, 1);
    resize(designClientSize);
    dblocal = std::make_unique<SharedConnection>(*sbStatus);
    setupTimers();
    connectConnection();
    connectCustomSql();
    connectLayout();
    connectSampling();
    connectDataFiles();
    qApp->installEventFilter(this);

    FormCreate();
    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

TfmMonSettings::~TfmMonSettings()
{
    qApp->removeEventFilter(this);
}

void TfmMonSettings::setupFoldBar()
{
    paHide = new QFrame(this);
    paHide->setObjectName(QStringLiteral("paHide"));
    static_cast<QFrame *>(paHide)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    paHide->setFixedHeight(WindowDesign::foldBarHeight);
    auto *layout = new QVBoxLayout(paHide);
    layout->setContentsMargins(1, 0, 1, 0);
    imUp = new TFoldPicture(TFoldPicture::Direction::Up, paHide);
    imUp->setObjectName(QStringLiteral("imUp"));
    imDown = new TFoldPicture(TFoldPicture::Direction::Down, paHide);
    imDown->setObjectName(QStringLiteral("imDown"));
    imDown->hide();
    layout->addWidget(imUp);
    layout->addWidget(imDown);
}

void TfmMonSettings::setupControlStrip()
{
    paControls = new QWidget(this);
    paControls->setObjectName(QStringLiteral("paControls"));
    paControls->setFixedHeight(WindowDesign::controlStripHeight);
    StripLayout strip(paControls, 0);

    strip.label("lbSRV", "Srv:", {7, 12});
    edSRV = strip.comboBox("edSRV", {34, 8, 65, 21});
    strip.label("lbDB", "DB:", {7, 33});
    edDB = strip.edit("edDB", "master", {34, 29, 65, 21});
    strip.label("lbUSR", "Usr:", {7, 53});
    edUsr = strip.edit("edUsr", "sa", {34, 50, 65, 21});
    strip.label("lbPWD", "Pwd:", {6, 75});
    edPassword = strip.edit("edPassword", "", {34, 71, 65, 21});
    edPassword->setEchoMode(QLineEdit::Password);
    edPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    bbtConnect = strip.button("bbtConnect", "&Connect", {6, 95, 94, 21});
    cbOLEDB = strip.checkBox("cbOLEDB", "OLE DB DSN", false, {7, 119, 97, 17});
    cbODBC = strip.checkBox("cbODBC", "ODBC DSN", true, {7, 137, 93, 17});

    cbMonTable = strip.comboBox("cbMonTable", {106, 8, 149, 21});
    strip.label("lbTbl", "Monitoring Table (Explanation)", {106, 33});
    meTableDesc = new QPlainTextEdit;
    strip.place(meTableDesc, "meTableDesc", {106, 51, 149, 101});
    cbMonColumn = strip.comboBox("cbMonColumn", {262, 8, 149, 21});
    strip.label("lbCol", "Available Column", {262, 33});
    meColumnDesc = new QPlainTextEdit;
    strip.place(meColumnDesc, "meColumnDesc", {261, 51, 149, 101});
    for (QPlainTextEdit *memo : {meTableDesc, meColumnDesc})
        configureMemo(memo);

    cbCustom = strip.checkBox("cbCustom", "&Use Custom SQL", false, {419, 8, 110, 17});
    bbtLoadSQL = strip.button("bbtLoadSQL", "&Load SQL", {533, 6, 89, 21});
    strip.label("lbSQL", "Custom SQL or  Where Filter (Clause)", {419, 33});
    reSQL = new QPlainTextEdit;
    strip.place(reSQL, "reSQL", {416, 51, 206, 101});
    // Tab moves on through the strip; these boxes take no tab characters.
    for (QPlainTextEdit *box : {meTableDesc, meColumnDesc, reSQL})
        box->setTabChangesFocus(true);

    rgGRP = new TRadioGroup({"NA", "AVG", "MAX", "MIN", "CNT", "SUM"}, 3);
    rgGRP->setItemIndex(0);
    strip.place(rgGRP, "rgGRP", {628, 2, 153, 45});
    bbtSample = strip.button("bbtSample", "&Test", {786, 8, 36, 38});

    sgTest = new TStringGrid;
    sgTest->setOptions(TStringGrid::RowSelect | TStringGrid::ColSizing | TStringGrid::ColMoving
                       | TStringGrid::GridLines);
    strip.place(sgTest, "sgTest", {627, 51, 195, 101});

    StripLayout::setTabOrder({edSRV, edDB, edUsr, edPassword, bbtConnect, cbOLEDB, cbODBC, cbMonTable,
                              cbMonColumn, cbCustom, bbtLoadSQL, rgGRP, bbtSample, meTableDesc, meColumnDesc, reSQL,
                              sgTest});
}

QWidget *TfmMonSettings::setupChartColumn(const char *columnName, QSplitter *&panes, int firstSlot,
                                          const char *upperSplitter, const char *lowerSplitter)
{
    auto *column = new QWidget;
    column->setObjectName(QString::fromLatin1(columnName));
    column->setMinimumWidth(0);
    panes = new QSplitter(Qt::Vertical, column);
    panes->setHandleWidth(WindowDesign::splitterWidth);
    panes->setChildrenCollapsible(false);
    for (int n = firstSlot; n <= slotCount; n += 2) {
        TChartSlot &slot = *slots_[n - 1];
        buildSlotPane(slot, panes);
        panes->addWidget(slot.pane);
        panes->setStretchFactor(panes->count() - 1, n == firstSlot ? 1 : 0);
    }
    panes->handle(1)->setObjectName(QString::fromLatin1(upperSplitter));
    panes->handle(2)->setObjectName(QString::fromLatin1(lowerSplitter));
    panes->setSizes({designClientSize.height(), closedPaneHeight, closedPaneHeight});
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panes);
    return column;
}

void TfmMonSettings::setupChartArea()
{
    paChartsControl = new QWidget(this);
    paChartsControl->setObjectName(QStringLiteral("paChartsControl"));

    columns = new QSplitter(Qt::Horizontal, paChartsControl);
    columns->setObjectName(QStringLiteral("paChartsColumns"));
    columns->setHandleWidth(WindowDesign::splitterWidth);
    paChartsLeft = setupChartColumn("paChartsLeft", leftPanes, 1, "splitVer1", "splitVer2");
    paChartsRight = setupChartColumn("paChartsRight", rightPanes, 2, "splitVer4", "splitVer5");
    columns->addWidget(paChartsLeft);
    columns->addWidget(paChartsRight);
    columns->setStretchFactor(0, 1);
    columns->setStretchFactor(1, 0);
    columns->handle(1)->setObjectName(QStringLiteral("splitHor"));
    columns->setSizes(
        {designClientSize.width() - designRightColumnWidth - WindowDesign::splitterWidth, designRightColumnWidth});
    // Splitters show in the active-caption colour.
    for (QSplitter *splitter : {columns, leftPanes, rightPanes}) {
        for (int i = 1; i < splitter->count(); ++i) {
            QSplitterHandle *handle = splitter->handle(i);
            QPalette palette = handle->palette();
            palette.setColor(QPalette::Window, palette.color(QPalette::Highlight));
            handle->setPalette(palette);
            handle->setAutoFillBackground(true);
        }
    }

    paLeftHide = new QLabel(QStringLiteral("..."), paChartsLeft);
    paLeftHide->setObjectName(QStringLiteral("paLeftHide"));
    paLeftHide->setAlignment(Qt::AlignCenter);
    paLeftHide->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    paLeftHide->setAutoFillBackground(true);
    paLeftHide->hide();

    sbStatus = new TStatusBar({120, 130, 500, 50}, paChartsControl);
    sbStatus->setObjectName(QStringLiteral("sbStatus"));
    sbStatus->setProperty("Tag", 0);

    auto *layout = new QVBoxLayout(paChartsControl);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(columns, 1);
    layout->addWidget(sbStatus);
}

void TfmMonSettings::setupCustomSqlPanel()
{
    paCustomSQL = new QFrame(this);
    paCustomSQL->setObjectName(QStringLiteral("paCustomSQL"));
    paCustomSQL->setFrameStyle(QFrame::Panel | QFrame::Raised);
    paCustomSQL->setAutoFillBackground(true);
    paCustomSQL->setGeometry(3, 3, 409, 431);
    StripLayout panel(paCustomSQL, 0);
    reLoadSQL = new QPlainTextEdit;
    configureMemo(reLoadSQL);
    panel.place(reLoadSQL, "reLoadSQL", {5, 6, 398, 389});
    btLoadSQL = panel.button("btLoadSQL", "Load", {6, 400, 75, 25});
    bbtSaveSQL = panel.button("bbtSaveSQL", "Save", {82, 400, 75, 25});
    edFileName = panel.edit("edFileName", AppPaths::defaultScriptFile(), {163, 402, 238, 21});
    paCustomSQL->hide();
}

void TfmMonSettings::setupTimers()
{
    tmExit.setInterval(1000);
    connect(&tmExit, &QTimer::timeout, this, &TfmMonSettings::tmExitTimer);
    tmExit.start();
}

void TfmMonSettings::connectCustomSql()
{
    connect(bbtLoadSQL, &QPushButton::clicked, this, &TfmMonSettings::bbtLoadSQLClick);
    connect(btLoadSQL, &QPushButton::clicked, this, &TfmMonSettings::btLoadSQLClick);
    connect(bbtSaveSQL, &QPushButton::clicked, this, &TfmMonSettings::bbtSaveSQLClick);
}

TChartArea TfmMonSettings::chartArea() const
{
    return {columns, paChartsLeft, paChartsRight, leftPanes, rightPanes, paLeftHide};
}

void TfmMonSettings::connectLayout()
{
    WindowLayout::setupSplitters(chartArea());
    // The main status bar spans the window, so its resizes are the window's, with the layout done.
    connect(sbStatus, &TStatusBar::resized, this, &TfmMonSettings::FormResize);
    connect(sbStatus, &TStatusBar::doubleClicked, this, &TfmMonSettings::sbStatus1DblClick);
    for (TFoldPicture *picture : {imUp, imDown})
        connect(picture, &TFoldPicture::clicked, this, &TfmMonSettings::imDownClick);
    connect(TWidgetEvents::of(paChartsLeft), &TWidgetEvents::resized, this, &TfmMonSettings::paChartsLeftResize);
    connect(TWidgetEvents::of(paLeftHide), &TWidgetEvents::clicked, this, &TfmMonSettings::paLeftHideClick);
    for (const auto &slot : slots_) {
        for (TFoldPicture *picture : {slot->imUp, slot->imDown})
            connect(picture, &TFoldPicture::clicked, this, &TfmMonSettings::imDown1Click);
        connect(slot->sbStatus, &TStatusBar::resized, this, &TfmMonSettings::sbStatus1Resize);
        connect(slot->sbStatus, &TStatusBar::doubleClicked, this, &TfmMonSettings::sbStatus1DblClick);
    }
}

void TfmMonSettings::connectSampling()
{
    for (const auto &owned : slots_) {
        TChartSlot *slot = owned.get();
        connect(slot->bbtStartSampling, &QPushButton::clicked, this, &TfmMonSettings::bbtStartSampling1Click);
        connect(slot->bbtStopSampling, &QPushButton::clicked, this, &TfmMonSettings::bbtStopSampling1Click);
        connect(slot->bbtShowSQL, &QPushButton::clicked, this, &TfmMonSettings::bbtShowSQL1Click);
        connect(slot->bbtUpdateSQL, &QPushButton::clicked, this, &TfmMonSettings::bbtUpdateSQL1Click);
        connect(&slot->tmSample, &QTimer::timeout, this, &TfmMonSettings::tmSample1Timer);
        connect(&slot->tmWait, &QTimer::timeout, this, &TfmMonSettings::tmWait1Timer);
        connect(slot->cbStyle, &QComboBox::currentIndexChanged, this, &TfmMonSettings::cbStyle1Change);
        connect(slot->cbMarks, &QCheckBox::clicked, this, &TfmMonSettings::cbMarks1Click);
        TWidgetEvents *swatch = TWidgetEvents::of(slot->paColor);
        swatch->setProperty("Tag", slot->number());
        connect(swatch, &TWidgetEvents::clicked, this, &TfmMonSettings::paColor1Click);
        connect(slot->bbtClear, &QPushButton::clicked, this, &TfmMonSettings::bbtClear1Click);
        connect(slot->cbRawData, &QCheckBox::clicked, this, &TfmMonSettings::cbRawData1Click);
        connect(slot->chrtStatistics, &TChart::doubleClicked, this, &TfmMonSettings::chrtStatistics1DblClick);
        connect(slot->sgRawData, &TStringGrid::dblClick, this, &TfmMonSettings::sgRawData1DblClick);
        connect(slot->bbtClearRawData, &QPushButton::clicked, this, &TfmMonSettings::bbtClearRawData1Click);
        connect(slot->sgRawData, &TStringGrid::selectCell, this, &TfmMonSettings::sgRawData1SelectCell);
    }
}

void TfmMonSettings::setOuterWidth(int width)
{
    // The frame is known only once the window exists on the windowing system.
    winId();
    const int frameWidth = frameGeometry().width() - geometry().width();
    resize(width - frameWidth, height());
}

void TfmMonSettings::connectDataFiles()
{
    for (const auto &slot : slots_) {
        connect(slot->bbtExport, &QPushButton::clicked, this, &TfmMonSettings::bbtExport1Click);
        connect(slot->bbtExportRawData, &QPushButton::clicked, this, &TfmMonSettings::bbtExportRawData1Click);
        connect(slot->cbAutoSave, &QCheckBox::clicked, this, &TfmMonSettings::cbAutoSave1Click);
        connect(slot->bbtLoad, &QPushButton::clicked, this, &TfmMonSettings::bbtLoadClick);
    }
    // Ticks count from window creation, whenever a box is ticked.
    tmSave.setInterval(300000);
    connect(&tmSave, &QTimer::timeout, this, &TfmMonSettings::tmSaveTimer);
    tmSave.start();
}

void TfmMonSettings::connectConnection()
{
    // Typed names are taken exactly as typed: a completer would finish a partial table name.
    for (QComboBox *box : {edSRV, cbMonTable, cbMonColumn})
        box->setCompleter(nullptr);
    connect(cbOLEDB, &QCheckBox::toggled, this, &TfmMonSettings::cbOLEDBClick);
    connect(cbODBC, &QCheckBox::toggled, this, &TfmMonSettings::cbODBCClick);
    connect(bbtConnect, &QPushButton::clicked, this, &TfmMonSettings::bbtConnectClick);
    connect(cbMonTable, &QComboBox::editTextChanged, this, &TfmMonSettings::cbMonTableChange);
    connect(edSRV, &QComboBox::editTextChanged, this, &TfmMonSettings::cbMonTableChange);
    connect(cbMonColumn, &QComboBox::editTextChanged, this, &TfmMonSettings::cbMonColumnChange);
    connect(bbtSample, &QPushButton::clicked, this, &TfmMonSettings::bbtSampleClick);
}
