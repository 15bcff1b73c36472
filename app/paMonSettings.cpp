#include "paMonSettings.h"

#include "AppPaths.h"
#include "AutoSave.h"
#include "ConnectToServer.h"
#include "ConnectionControls.h"
#include "CustomSqlControls.h"
#include "CustomSqlPanel.h"
#include "MonitoringCatalogue.h"
#include "PerformanceDataFile.h"
#include "PerformanceDataLoader.h"
#include "RawDataFile.h"
#include "RawGrid.h"
#include "Regional.h"
#include "RunControl.h"
#include "SampleQuery.h"
#include "SampleTimer.h"
#include "ServerList.h"
#include "SlotChart.h"
#include "TApplication.h"
#include "TDialogs.h"
#include "TFoldPicture.h"
#include "TRadioGroup.h"
#include "TChart.h"
#include "TStatusBar.h"
#include "TextFile.h"
#include "WindowDesign.h"
#include "WindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>

namespace {

constexpr int designOuterWidth = 843;
constexpr int createdRightColumnWidth = 3;
const QColor runningTint(221, 233, 240);

} // namespace

void TfmMonSettings::setDialogs(std::unique_ptr<TDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

TWindowContext TfmMonSettings::context()
{
    return {state, *sbStatus, *dialogs_, this};
}

TChartSlot *TfmMonSettings::slotByTag(int tag)
{
    return tag >= 1 && tag <= slotCount ? slots_[tag - 1].get() : nullptr;
}

TChartSlot *TfmMonSettings::slotOf(QObject *sender)
{
    return sender ? slotByTag(sender->property("Tag").toInt()) : nullptr;
}

void TfmMonSettings::FormCreate()
{
    if (auto *application = qobject_cast<TApplication *>(qApp))
        application->setErrorHandler(
            [this](const QString &message, const QString &typeName) { AppException(message, typeName); });
    try {
        const QString scriptFile = AppPaths::defaultScriptFile();
        if (QFile::exists(scriptFile)) {
            reLoadSQL->setPlainText(TextFile::read(scriptFile).lines.join(QLatin1Char('\n')));
            edFileName->setText(scriptFile);
        }
        for (const auto &slot : slots_)
            slot->chrtStatistics->setSeriesKind(SeriesKind::FastLine);
        for (const auto &slot : slots_)
            slot->chrtStatistics->setSeriesColor(QColor(255, 0, 0));
        setOuterWidth(designOuterWidth);
        columns->setSizes({width() - WindowDesign::splitterWidth - createdRightColumnWidth, createdRightColumnWidth});
    } catch (const std::exception &error) {
        dialogs_->showError(this, QStringLiteral("Exception in FormCreate\n") + QString::fromUtf8(error.what()));
    }
}

void TfmMonSettings::FormActivate()
{
    // The program's short date format is fixed in Regional as "dd/mm/yyyy" with the system's
    // separator, so activation has only the server list to refresh.
    try {
        connectionControls_->setServerList(ServerList::load(AppPaths::serverListFile()));
    } catch (const std::exception &) {
        // A missing or unreadable list leaves the box's list as it was.
    }
}

void TfmMonSettings::AppException(const QString &message, const QString &typeName)
{
    sbStatus->setPanelText(2, message + QStringLiteral(" at ") + typeName);
}

void TfmMonSettings::FormKeyPress(QChar key)
{
    if (key != QChar(27))
        return;
    if (paCustomSQL->isVisible()) {
        paCustomSQL->hide();
        return;
    }
    state.bAbort = true;
    dblocal->abandonAll();
    QCoreApplication::processEvents();
}

void TfmMonSettings::tmExitTimer()
{
    try {
        sbStatus->setPanelText(1, QStringLiteral("T: ") + Regional::current().formatTimeLine(QDateTime::currentDateTime()));
        if (QFile::exists(AppPaths::stopFile(QCoreApplication::applicationFilePath())))
            QCoreApplication::quit();
        const QColor buttonFace = palette().color(QPalette::Button);
        for (const auto &slot : slots_) {
            const QColor tint = slot->running() ? runningTint : buttonFace;
            slot->chrtStatistics->setBackgroundColor(tint);
            slot->sbStatus->setBackgroundColor(tint);
        }
    } catch (...) {
        // The next tick starts afresh.
    }
}

void TfmMonSettings::bbtLoadSQLClick()
{
    CustomSqlPanel::show(*customSqlControls_);
}

void TfmMonSettings::btLoadSQLClick()
{
    CustomSqlPanel::load(*customSqlControls_, context());
}

void TfmMonSettings::bbtSaveSQLClick()
{
    CustomSqlPanel::save(*customSqlControls_, context());
}

void TfmMonSettings::FormResize()
{
    WindowLayout::fitMessagePanel(*sbStatus);
}

void TfmMonSettings::imDownClick()
{
    WindowLayout::foldControlStrip(*imUp, *imDown, *paControls, *sbStatus);
}

void TfmMonSettings::imDown1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        WindowLayout::foldSlotStrip(*slot);
}

void TfmMonSettings::paChartsLeftResize()
{
    WindowLayout::collapseLeftColumn(chartArea());
}

void TfmMonSettings::paLeftHideClick()
{
    WindowLayout::restoreLeftColumn(chartArea(), frameGeometry().width());
}

void TfmMonSettings::sbStatus1Resize()
{
    if (TChartSlot *slot = slotOf(sender()))
        WindowLayout::divideSlotStatusBar(*slot->sbStatus);
}

void TfmMonSettings::sbStatus1DblClick()
{
    // Tag 0 is the main status bar with its message in panel 2; a slot's bar has it in panel 1.
    if (sender() == sbStatus)
        WindowLayout::showStatusMessage(*sbStatus, 2, *dialogs_, this);
    else if (TChartSlot *slot = slotOf(sender()))
        WindowLayout::showStatusMessage(*slot->sbStatus, 1, *dialogs_, this);
}

void TfmMonSettings::bbtExport1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        ExportPerformanceData(*slot, *slot, context());
}

void TfmMonSettings::bbtExportRawData1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        ExportRawData(*slot, *slot, context());
}

void TfmMonSettings::cbAutoSave1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        ChooseAutoSaveFile(*slot, *slot, context());
}

void TfmMonSettings::tmSaveTimer()
{
    for (const auto &slot : slots_)
        AutoSaveSlot(*slot, *slot, context());
}

void TfmMonSettings::bbtLoadClick()
{
    if (TChartSlot *slot = slotOf(sender()))
        LoadPerformanceData(*slot, *slot, context());
}

bool TfmMonSettings::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

bool TfmMonSettings::eventFilter(QObject *watched, QEvent *event)
{
    // Key preview: the window sees each key typed into any of its controls, once, before the
    // control does, and passes it on.
    if (event->type() == QEvent::KeyPress) {
        auto *target = qobject_cast<QWidget *>(watched);
        QWidget *focus = QApplication::focusWidget();
        if (target && target->window() == this && target == (focus ? focus : this)) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape)
                FormKeyPress(QChar(27));
        }
    }
    return QWidget::eventFilter(watched, event);
}

ConnectionSettings TfmMonSettings::connectionSettings() const
{
    return {edSRV->currentText(), edDB->text(), edUsr->text(), edPassword->text(), cbODBC->isChecked()};
}

MonitoringCatalogue TfmMonSettings::catalogue()
{
    return MonitoringCatalogue(*dblocal, *connectionControls_, context());
}

void TfmMonSettings::cbOLEDBClick()
{
    cbODBC->setChecked(!cbOLEDB->isChecked());
}

void TfmMonSettings::cbODBCClick()
{
    cbOLEDB->setChecked(!cbODBC->isChecked());
}

void TfmMonSettings::bbtConnectClick()
{
    ConnectToServer(connectionSettings().connectionString(), *connectionControls_, *dblocal, catalogue(), context());
}

void TfmMonSettings::cbMonTableChange()
{
    catalogue().cbMonTableChange();
}

void TfmMonSettings::cbMonColumnChange()
{
    catalogue().cbMonColumnChange();
}

void TfmMonSettings::bbtSampleClick()
{
    TestSampleQuery(*connectionControls_, *dblocal, context());
}

void TfmMonSettings::bbtStartSampling1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        RunControl::run(*slot, *slot, state, *sbStatus, reSQL->toPlainText(), connectionSettings().connectionString(),
                        edSRV->currentText());
}

void TfmMonSettings::bbtStopSampling1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        RunControl::stop(*slot, *slot);
}

void TfmMonSettings::bbtShowSQL1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        reSQL->setPlainText(RunControl::showSQL(*slot));
}

void TfmMonSettings::bbtUpdateSQL1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        RunControl::updateSQL(*slot, reSQL->toPlainText());
}

void TfmMonSettings::tmSample1Timer()
{
    if (TChartSlot *slot = slotOf(sender()))
        SampleTimer::tick(*slot, *slot, state);
}

void TfmMonSettings::tmWait1Timer()
{
    if (TChartSlot *slot = slotOf(sender()))
        SampleTimer::waited(*slot);
}

void TfmMonSettings::cbStyle1Change()
{
    if (TChartSlot *slot = slotOf(sender()))
        SlotChart::changeStyle(*slot);
}

void TfmMonSettings::cbMarks1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        SlotChart::applyMarks(*slot);
}

void TfmMonSettings::paColor1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        SlotChart::chooseColor(*slot, *dialogs_, this);
}

void TfmMonSettings::bbtClear1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        SlotChart::clear(*slot);
}

void TfmMonSettings::cbRawData1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        RawGrid::followGetRaw(*slot);
}

void TfmMonSettings::chrtStatistics1DblClick()
{
    if (TChartSlot *slot = slotOf(sender()))
        RawGrid::toggle(*slot);
}

void TfmMonSettings::sgRawData1DblClick()
{
    if (TChartSlot *slot = slotOf(sender()))
        RawGrid::toggle(*slot);
}

void TfmMonSettings::bbtClearRawData1Click()
{
    if (TChartSlot *slot = slotOf(sender()))
        RawGrid::clearRaw(*slot);
}

void TfmMonSettings::sgRawData1SelectCell(int, int, int currentRow)
{
    if (TChartSlot *slot = slotOf(sender()))
        RawGrid::showRowIndicator(*slot->sbStatus, currentRow);
}
