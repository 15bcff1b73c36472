#include "ShownWindowTestCase.h"
#include "TStatusBar.h"
#include "TestRegistry.h"
#include "paMonSettings.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray systemBytes(const QString &text)
{
    QStringEncoder encode(QStringConverter::System);
    return encode(text);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// "<file>" in an expected text stands for the file the row works on.
QStringList withFile(QStringList texts, const QString &file)
{
    for (QString &text : texts)
        text.replace(QStringLiteral("<file>"), file);
    return texts;
}

// An expected entry ending in "..." matches any text that starts with what comes before.
void compareAsked(const QStringList &asked, const QStringList &expected)
{
    QCOMPARE(asked.size(), expected.size());
    for (int i = 0; i < asked.size(); ++i) {
        if (expected[i].endsWith(QStringLiteral("...*")))
            QVERIFY2(asked[i].startsWith(expected[i].chopped(4)), qPrintable(asked[i]));
        else
            QCOMPARE(asked[i], expected[i]);
    }
}

const QString loaded = QStringLiteral("Loaded Custom SQL Statements to <file>");
const QString saved = QStringLiteral("Saved Custom SQL Statements to <file>");
const QString failed = QStringLiteral("Sampling Stopped Due to Exception...");
const QString errorBox = QStringLiteral("error: Exception in bbtSaveSQLClick\nCannot ...*");

} // namespace

class CustomSqlPanelTest : public ShownWindowTestCase {
    Q_OBJECT


    QString defaultFile() const { return under_->file(QStringLiteral("Korvex.sql")); }
    QString chosenFile() const { return under_->file(QStringLiteral("chosen.sql")); }
    QString messagePanel() const { return window_->sbStatus->panelText(2); }

private slots:
    void loadSqlButtonOpensPanelAboveEverything()
    {
        TfmMonSettings &w = *window_;
        w.reLoadSQL->setPlainText(QStringLiteral("kept"));
        w.paCustomSQL->resize(409, 40);
        QTest::mouseClick(w.bbtLoadSQL, Qt::LeftButton);
        QVERIFY(w.paCustomSQL->isVisible());
        QCOMPARE(w.paCustomSQL->geometry(), QRect(3, 3, 409, 431));
        // Over the connection strip and the chart area alike.
        for (const QPoint &point : {QPoint(50, 60), QPoint(200, 300)}) {
            QWidget *top = w.childAt(point);
            QVERIFY2(top == w.paCustomSQL || w.paCustomSQL->isAncestorOf(top), qPrintable(top->objectName()));
        }
        QCOMPARE(w.reLoadSQL->toPlainText(), QString("kept"));
    }

    void load_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fromDialog"); // the box emptied first
        QTest::addColumn<bool>("dialogAnswers");
        QTest::addColumn<bool>("abortLeftOver");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("asked");

        QTest::newRow("box's file, CR LF lines")
            << true << QByteArray("select 1\r\ngo\r\n") << false << false << false << "select 1\ngo" << loaded
            << QStringList();
        QTest::newRow("LF and lone CR end lines too, empty lines kept")
            << true << QByteArray("a\n\nb\rc") << false << false << false << "a\n\nb\nc" << loaded << QStringList();
        QTest::newRow("leading empty line kept")
            << true << QByteArray("\r\nx\r\n") << false << false << false << "\nx" << loaded << QStringList();
        QTest::newRow("system 8-bit text")
            << true << systemBytes("select 'caf\u00e9'\r\n") << false << false << false << "select 'caf\u00e9'"
            << loaded << QStringList();
        QTest::newRow("empty file empties the editor")
            << true << QByteArray() << false << false << false << "" << loaded << QStringList();
        QTest::newRow("empty box asks, chosen name goes into the box")
            << true << QByteArray("x\r\n") << true << true << false << "x" << loaded << QStringList{"open"};
        QTest::newRow("empty box, dialog cancelled: nothing happens")
            << true << QByteArray("x\r\n") << true << false << false << "before" << "" << QStringList{"open"};
        QTest::newRow("missing file: editor kept, error reported")
            << false << QByteArray() << false << false << false << "before" << failed << QStringList{errorBox};
        QTest::newRow("abort left over from an earlier Escape")
            << true << QByteArray("a\r\nb\r\n") << false << false << true << "" << "Loading File Aborted..."
            << QStringList();
        QTest::newRow("abort left over, missing file fails first")
            << false << QByteArray() << false << false << true << "before" << failed << QStringList{errorBox};
    }
    void load()
    {
        QFETCH(bool, fileExists);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fromDialog);
        QFETCH(bool, dialogAnswers);
        QFETCH(bool, abortLeftOver);
        QFETCH(QString, editor);
        QFETCH(QString, status);
        QFETCH(QStringList, asked);
        TfmMonSettings &w = *window_;
        const QString file = fromDialog ? chosenFile() : defaultFile();
        if (fileExists)
            writeFile(file, bytes);
        if (fromDialog)
            w.edFileName->clear();
        dialogs_->fileAnswers.enqueue(dialogAnswers ? file : QString());
        w.reLoadSQL->setPlainText(QStringLiteral("before"));
        w.state.bAbort = abortLeftOver;

        QTest::mouseClick(w.btLoadSQL, Qt::LeftButton);

        QCOMPARE(w.reLoadSQL->toPlainText(), editor);
        QCOMPARE(messagePanel(), withFile({status}, file).first());
        compareAsked(dialogs_->asked, asked);
        QCOMPARE(w.edFileName->text(), fromDialog && !dialogAnswers ? QString() : file);
        QCOMPARE(w.state.bAbort, abortLeftOver);
    }

    void save_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("boxFile"); // relative to the home folder; empty: the box emptied
        QTest::addColumn<bool>("dialogAnswers");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("asked");

        QTest::newRow("box's file, every line ended by CR LF")
            << "select 1\ngo" << "Korvex.sql" << false << true << QByteArray("select 1\r\ngo\r\n") << saved
            << QStringList();
        QTest::newRow("empty lines kept, the last one too")
            << "a\n\nb\n" << "Korvex.sql" << false << true << QByteArray("a\r\n\r\nb\r\n\r\n") << saved
            << QStringList();
        QTest::newRow("empty editor creates an empty file")
            << "" << "Korvex.sql" << false << true << QByteArray() << saved << QStringList();
        QTest::newRow("system 8-bit text")
            << "caf\u00e9" << "Korvex.sql" << false << true << systemBytes("caf\u00e9\r\n") << saved << QStringList();
        QTest::newRow("no-break space kept as typed")
            << "a\u00a0b" << "Korvex.sql" << false << true << systemBytes("a\u00a0b\r\n") << saved << QStringList();
        QTest::newRow("empty box asks, chosen name stays out of the box")
            << "x" << "" << true << true << QByteArray("x\r\n") << saved << QStringList{"save"};
        QTest::newRow("empty box, dialog cancelled: nothing happens")
            << "x" << "" << false << false << QByteArray() << "" << QStringList{"save"};
        QTest::newRow("folder missing: error reported")
            << "x" << "missing/x.sql" << false << false << QByteArray() << failed << QStringList{errorBox};
    }
    void save()
    {
        QFETCH(QString, editor);
        QFETCH(QString, boxFile);
        QFETCH(bool, dialogAnswers);
        QFETCH(bool, written);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, status);
        QFETCH(QStringList, asked);
        TfmMonSettings &w = *window_;
        const QString file = boxFile.isEmpty() ? chosenFile() : under_->file(boxFile);
        // Saving replaces what the file held.
        if (!boxFile.isEmpty() && written)
            writeFile(file, QByteArray(1000, 'z'));
        w.edFileName->setText(boxFile.isEmpty() ? QString() : file);
        dialogs_->fileAnswers.enqueue(dialogAnswers ? file : QString());
        w.reLoadSQL->setPlainText(editor);
        // The editor's plain text shows a no-break space as a space; the file must not.
        const QString shown = w.reLoadSQL->toPlainText();

        QTest::mouseClick(w.bbtSaveSQL, Qt::LeftButton);

        QFile saved(file);
        QCOMPARE(saved.exists(), written);
        if (written) {
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.readAll(), bytes);
        }
        QCOMPARE(messagePanel(), withFile({status}, file).first());
        compareAsked(dialogs_->asked, asked);
        QCOMPARE(w.edFileName->text(), boxFile.isEmpty() ? QString() : file);
        QCOMPARE(w.reLoadSQL->toPlainText(), shown);
    }

    void savedLinesLoadBackUnchanged()
    {
        TfmMonSettings &w = *window_;
        const QString text = QStringLiteral("\nselect *\n  from master..monState\n\n-- caf\u00e9\n");
        w.reLoadSQL->setPlainText(text);
        QTest::mouseClick(w.bbtSaveSQL, Qt::LeftButton);
        w.reLoadSQL->clear();
        QTest::mouseClick(w.btLoadSQL, Qt::LeftButton);
        QCOMPARE(w.reLoadSQL->toPlainText(), text);
        QVERIFY(dialogs_->asked.isEmpty());
    }
};

QUINTARO_TEST(CustomSqlPanelTest)
#include "CustomSqlPanelTest.moc"
