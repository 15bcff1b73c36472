#include "ScriptedDialogs.h"
#include "TChart.h"
#include "TFoldPicture.h"
#include "TStatusBar.h"
#include "TStringGrid.h"
#include "TestRegistry.h"
#include "paMonSettings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The text a control shows, whatever its kind.
QString shownText(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text();
    if (auto *box = qobject_cast<QComboBox *>(control))
        return box->currentText();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
        return memo->toPlainText();
    return {};
}

// Labels are placed by their top-left corner only and size to their caption.
constexpr int autoSize = -1;

struct ControlRow {
    const char *name;
    const char *text;
    QRect geometry;
};

void addRows(const QList<ControlRow> &rows, const QString &parentName)
{
    for (const ControlRow &row : rows)
        QTest::newRow(qPrintable(parentName + "/" + row.name))
            << parentName << QString::fromUtf8(row.name) << QString::fromUtf8(row.text) << row.geometry;
}

QStringList focusOrder(QWidget *first, const QList<QWidget *> &members)
{
    QStringList order;
    QWidget *widget = first;
    do {
        if (members.contains(widget) && !order.contains(widget->objectName()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && order.size() < members.size());
    return order;
}

} // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QStringList scratch_;
    std::unique_ptr<TfmMonSettings> window_;

private slots:
    void initTestCase()
    {
        // No default script file in this home folder.
        qputenv("HOME", home_.path().toLocal8Bit());
        window_ = std::make_unique<TfmMonSettings>(scratch_);
        window_->setDialogs(std::make_unique<ScriptedDialogs>());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanupTestCase() { window_.reset(); }

    void controlPositions_data()
    {
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        addRows({{"lbSRV", "Srv:", {7, 12, autoSize, autoSize}},
                 {"edSRV", "", {34, 8, 65, 21}},
                 {"lbDB", "DB:", {7, 33, autoSize, autoSize}},
                 {"edDB", "master", {34, 29, 65, 21}},
                 {"lbUSR", "Usr:", {7, 53, autoSize, autoSize}},
                 {"edUsr", "sa", {34, 50, 65, 21}},
                 {"lbPWD", "Pwd:", {6, 75, autoSize, autoSize}},
                 {"edPassword", "", {34, 71, 65, 21}},
                 {"bbtConnect", "&Connect", {6, 95, 94, 21}},
                 {"cbOLEDB", "OLE DB DSN", {7, 119, 97, 17}},
                 {"cbODBC", "ODBC DSN", {7, 137, 93, 17}},
                 {"cbMonTable", "", {106, 8, 149, 21}},
                 {"lbTbl", "Monitoring Table (Explanation)", {106, 33, autoSize, autoSize}},
                 {"meTableDesc", "", {106, 51, 149, 101}},
                 {"cbMonColumn", "", {262, 8, 149, 21}},
                 {"lbCol", "Available Column", {262, 33, autoSize, autoSize}},
                 {"meColumnDesc", "", {261, 51, 149, 101}},
                 {"cbCustom", "&Use Custom SQL", {419, 8, 110, 17}},
                 {"bbtLoadSQL", "&Load SQL", {533, 6, 89, 21}},
                 {"lbSQL", "Custom SQL or  Where Filter (Clause)", {419, 33, autoSize, autoSize}},
                 {"reSQL", "", {416, 51, 206, 101}},
                 {"rgGRP", "", {628, 2, 153, 45}},
                 {"bbtSample", "&Test", {786, 8, 36, 38}},
                 {"sgTest", "", {627, 51, 195, 101}}},
                "paControls");
        addRows({{"reLoadSQL", "", {5, 6, 398, 389}},
                 {"btLoadSQL", "Load", {6, 400, 75, 25}},
                 {"bbtSaveSQL", "Save", {82, 400, 75, 25}},
                 {"edFileName", "", {163, 402, 238, 21}}},
                "paCustomSQL");
        const char *labels[6][3] = {{"lbIval", "lbValueTitle", "lbDelimit"}, {"lbRate", "Label3", "Label1"},
                                    {"Label5", "Label6", "Label4"},       {"Label8", "Label9", "Label7"},
                                    {"Label11", "Label12", "Label10"},    {"Label14", "Label15", "Label13"}};
        for (int n = 1; n <= 6; ++n) {
            const auto name = [n](const char *base) { return QByteArray(base) + QByteArray::number(n); };
            const QList<QByteArray> names = {name("bbtStartSampling"), name("bbtStopSampling"), name("edInterval"),
                                             name("cbStyle"), name("cbTime"),
                                             n == 1 ? QByteArray("bbtLoad") : name("bbtLoad"), name("bbtShowSQL"),
                                             name("bbtUpdateSQL"), name("paColor"), name("edValueName"),
                                             name("cbMarks"), name("bbtExport"), name("cbRawData"),
                                             name("bbtExportRawData"), name("cbSameConn"), name("cbAutoSave"),
                                             name("cbDelta"), name("bbtClear"), name("edSeparator"),
                                             name("bbtClearRawData")};
            const QList<ControlRow> rows = {
                {names[0], "R&un", {3, 3, 40, 22}},
                {names[1], n == 1 ? "Sto&p" : "Stop", {3, 26, 40, 22}},
                {labels[n - 1][0], "Sec.", {46, 7, autoSize, autoSize}},
                {names[2], "3", {70, 3, 24, 21}},
                {names[3], "FastLine", {98, 3, 66, 21}},
                {names[4], "&Time", {171, 5, 46, 17}},
                {names[5], "Load", {223, 3, 45, 21}},
                {names[6], "Show SQL", {270, 3, 64, 21}},
                {names[7], "Update SQL", {335, 3, 67, 21}},
                {names[8], "", {47, 27, 21, 20}},
                {labels[n - 1][1], "Title", {72, 31, autoSize, autoSize}},
                {names[9], "", {97, 28, 66, 21}},
                {names[10], "&Marks", {171, 28, 49, 17}},
                {names[11], "Export", {223, 25, 45, 22}},
                {names[12], "Get Raw", {271, 27, 62, 17}},
                {names[13], "Export Raw", {335, 25, 67, 22}},
                {names[14], n == 1 ? "Same Co&nn " : "Same Co&nn. ", {4, 51, 78, 17}},
                {names[15], "&Auto Save", {97, 51, 69, 17}},
                {names[16], "&Delta", {171, 51, 48, 17}},
                {names[17], "Clear", {223, 48, 45, 21}},
                {labels[n - 1][2], "Delimiter:", {273, 51, autoSize, autoSize}},
                {names[18], "^", {320, 49, 11, 19}},
                {names[19], "Clear Raw", {335, 48, 67, 21}},
            };
            addRows(rows, "paControls" + QString::number(n));
        }
    }
    void controlPositions()
    {
        QFETCH(QString, parentName);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        auto *parent = window_->findChild<QWidget *>(parentName);
        QVERIFY(parent);
        auto *control = parent->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
        QVERIFY2(control, qPrintable(name));
        if (parentName == "paCustomSQL" && name == "edFileName")
            text = QDir(home_.path()).filePath("Korvex.sql");
        QCOMPARE(shownText(control), text);
        QCOMPARE(control->pos(), geometry.topLeft());
        if (geometry.width() != autoSize) {
            QCOMPARE(control->size(), geometry.size());
        } else {
            // A label must be wide enough for its whole caption.
            QVERIFY(control->width() >= control->fontMetrics().horizontalAdvance(text));
        }
    }

    // Every check box caption and every item of an editable box shows whole at the fixed sizes.
    void captionsShowWhole()
    {
        for (QCheckBox *box : window_->findChildren<QCheckBox *>()) {
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            const QString shown = QString(box->text()).remove(u'&').trimmed();
            QVERIFY2(room.width() >= box->fontMetrics().horizontalAdvance(shown), qPrintable(box->objectName()));
        }
        for (QComboBox *box : window_->findChildren<QComboBox *>()) {
            if (!box->isEditable())
                continue;
            // A line edit keeps two pixels on either side of its text and one for the cursor.
            const int room = box->lineEdit()->contentsRect().width() - 2 * 2 - 1;
            for (int item = 0; item < box->count(); ++item)
                QVERIFY2(room >= box->fontMetrics().horizontalAdvance(box->itemText(item)),
                         qPrintable(box->objectName() + ": " + box->itemText(item)));
        }
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("connection strip")
            << "paControls"
            << QStringList{"edSRV",      "edDB",    "edUsr",      "edPassword",  "bbtConnect",  "cbOLEDB",
                           "cbODBC",     "cbMonTable", "cbMonColumn", "cbCustom", "bbtLoadSQL", "rgGRP",
                           "bbtSample",  "meTableDesc", "meColumnDesc", "reSQL", "sgTest"};
        for (int n : {1, 4}) {
            const QString s = QString::number(n);
            QTest::newRow(qPrintable("slot " + s))
                << "paControls" + s
                << QStringList{"cbStyle" + s,        "paColor" + s,    "cbMarks" + s,        "cbDelta" + s,
                               "bbtStartSampling" + s, "bbtStopSampling" + s, "bbtClear" + s,   "bbtExport" + s,
                               "cbRawData" + s,      "bbtExportRawData" + s, "edSeparator" + s, "bbtClearRawData" + s,
                               "cbAutoSave" + s,     "edInterval" + s, "bbtShowSQL" + s,     "bbtUpdateSQL" + s,
                               "edValueName" + s,    n == 1 ? "bbtLoad" : "bbtLoad" + s, "cbSameConn" + s,
                               "cbTime" + s};
        }
    }
    void tabOrder()
    {
        QFETCH(QString, strip);
        QFETCH(QStringList, order);
        auto *parent = window_->findChild<QWidget *>(strip);
        QList<QWidget *> members;
        for (const QString &name : order)
            members << parent->findChild<QWidget *>(name);
        QVERIFY(!members.contains(nullptr));
        QCOMPARE(focusOrder(members.first(), members), order);
    }

    // Tab itself, not just the chain: the text boxes and the test grid let it through, and
    // after the strip's last control it goes on to the first slot's strip.
    void tabLeavesTheTextBoxesAndTheTestGrid()
    {
        TfmMonSettings &w = *window_;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.meTableDesc->setFocus();
        const QStringList expected{"meColumnDesc", "reSQL", "sgTest", "cbStyle1"};
        QStringList reached;
        for (int press = 0; press < expected.size(); ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
        }
        QCOMPARE(reached, expected);
        for (QPlainTextEdit *box : {w.meTableDesc, w.meColumnDesc, w.reSQL})
            QVERIFY(!box->toPlainText().contains(u'\t'));
    }

    void windowAtStart()
    {
        TfmMonSettings &w = *window_;
        QCOMPARE(w.windowTitle(), QString("Quintaro v. 1.1"));
        // The caption is the task-bar text; a display name would be appended to every box's title.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
        QCOMPARE(w.frameGeometry().width(), 843);
        QCOMPARE(w.paHide->geometry(), QRect(0, 0, w.width(), 11));
        QCOMPARE(w.paControls->geometry(), QRect(0, 11, w.width(), 159));
        QCOMPARE(w.paChartsControl->y(), 170);
        QCOMPARE(w.paChartsRight->width(), 3);
        QCOMPARE(w.columns->handleWidth(), 3);
        QCOMPARE(w.sbStatus->height(), 20);
        QCOMPARE(w.sbStatus->y() + 20, w.paChartsControl->height());
        QVERIFY(w.imUp->isVisible() && !w.imDown->isVisible());
        QVERIFY(!w.paCustomSQL->isVisible());
        QVERIFY(!w.paLeftHide->isVisible());
        QCOMPARE(w.paCustomSQL->geometry().topLeft(), QPoint(3, 3));
        QCOMPARE(w.paCustomSQL->width(), 409);
        // The message panel takes what the others leave of the bar's width.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.sbStatus->panelWidth(i), QList<int>({120, 130, w.sbStatus->width() - 328, 50})[i]);
        QVERIFY(w.cbODBC->isChecked() && !w.cbOLEDB->isChecked());
        QVERIFY(!w.state.bAbort && !w.state.bSybase && w.state.vScratchList.isEmpty());
        QVERIFY(w.tmExit.isActive());
        QCOMPARE(w.tmExit.interval(), 1000);
        QVERIFY(!w.dblocal->connected());
        QCOMPARE(w.sgTest->rowCount(), 2);
    }

    void slotsAtStart_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("series");
        const char *panes[] = {"paLeft1", "paRight1", "paLeft2", "paRight2", "paLeft3", "paRight3"};
        const char *series[] = {"Series1", "Series2", "LineSeries1", "Series4", "LineSeries2", "LineSeries3"};
        for (int n = 1; n <= 6; ++n)
            QTest::newRow(qPrintable("slot " + QString::number(n))) << n << panes[n - 1] << series[n - 1];
    }
    void slotsAtStart()
    {
        QFETCH(int, n);
        QFETCH(QString, pane);
        QFETCH(QString, series);
        TChartSlot &slot = *window_->slotByTag(n);
        QCOMPARE(slot.number(), n);
        QCOMPARE(slot.pane->objectName(), pane);
        if (n == 3 || n == 5)
            QCOMPARE(slot.pane->height(), 3);
        if (n == 1)
            QVERIFY(slot.pane->height() > 300);
        QCOMPARE(slot.sbStatus->height(), 20);
        QCOMPARE(slot.paHide->height(), 11);
        QCOMPARE(slot.paControls->height(), 72);
        QVERIFY(!slot.imUp->isVisibleTo(slot.paHide) && slot.imDown->isVisibleTo(slot.paHide));
        // A slot's bar is divided in fifths of its width.
        const int fifth = slot.sbStatus->width() / 5;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(slot.sbStatus->panelWidth(i), QList<int>({fifth, 3 * fifth, fifth})[i]);
            QCOMPARE(slot.sbStatus->panelText(i), QString());
        }

        const TChart &chart = *slot.chrtStatistics;
        QCOMPARE(chart.seriesName(), series);
        QCOMPARE(chart.seriesKind(), SeriesKind::FastLine);
        QCOMPARE(chart.seriesColor(), QColor(255, 0, 0));
        QCOMPARE(chart.pointCount(), 0);
        QCOMPARE(chart.footText(), QString("Performance Analysis"));
        QCOMPARE(chart.titleText(), QString());
        QVERIFY(!chart.marksVisible());

        QVERIFY(!slot.sgRawData->isVisibleTo(slot.chrtStatistics));
        QCOMPARE(slot.sgRawData->parentWidget(), slot.chrtStatistics);
        QCOMPARE(slot.sgRawData->rowCount(), 2);
        QCOMPARE(slot.sgRawData->colCount(), 5);
        QCOMPARE(slot.sgRawData->columnWidth(0), 64);
        QCOMPARE(slot.sgRawData->rowHeight(0), 20);

        QVERIFY(!slot.tmSample.isActive());
        QCOMPARE(slot.tmSample.interval(), 1000);
        QCOMPARE(slot.tmSample.property("Tag").toInt(), n);
        QVERIFY(!slot.dbLocal.connected());
        QVERIFY(slot.cbStyle->isEnabled());
        QCOMPARE(slot.cbStyle->count(), 5);
        QCOMPARE(slot.edValueName->toolTip(), QString("Describe Value for Data Export"));
        QCOMPARE(slot.cbAutoSave->toolTip(), QString("Save File Automatically Each 5 Minutes"));
        QVERIFY(slot.cbSameConn->isChecked());
        QCOMPARE(slot.paColor->palette().color(QPalette::Window), QColor(255, 0, 0));
        for (QObject *control : {static_cast<QObject *>(slot.bbtStartSampling), static_cast<QObject *>(slot.cbDelta),
                                 static_cast<QObject *>(slot.edValueName), static_cast<QObject *>(slot.sbStatus),
                                 static_cast<QObject *>(slot.imDown), static_cast<QObject *>(slot.chrtStatistics)})
            QCOMPARE(control->property("Tag").toInt(), n);
        QVERIFY(slot.vSQL.isEmpty() && slot.vDateList.isEmpty() && slot.vValueList.isEmpty()
                && slot.vTmpList.isEmpty() && slot.edValue.isEmpty() && slot.edExportFile.isEmpty()
                && slot.edExportRawFile.isEmpty() && slot.edExFrom.isEmpty() && slot.edExRawFrom.isEmpty());
    }

    void slotLookupByTag()
    {
        QCOMPARE(window_->slotByTag(0), nullptr);
        QCOMPARE(window_->slotByTag(7), nullptr);
        QObject untagged;
        QCOMPARE(window_->slotOf(&untagged), nullptr);
        QCOMPARE(window_->slotOf(window_->slotByTag(6)->bbtClear), window_->slotByTag(6));
    }
};

QUINTARO_TEST(MainWindowLayoutTest)
#include "MainWindowLayoutTest.moc"
