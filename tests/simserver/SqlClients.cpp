#include "SqlClients.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

const QString SqlClients::null = QStringLiteral("<NULL>");

namespace {
constexpr int clientTimeoutMs = 20000;

// tsql reports a server message as: Msg <n> (severity s, state t) from <server> Line l:\n\t"<text>"
void readServerMessage(const QString &errors, SqlAnswer &answer)
{
    static const QRegularExpression message(QStringLiteral("Msg (\\d+) \\(severity \\d+, state \\d+\\)[^\\n]*\\n\\t\"(.*)\"\\n"),
                                            QRegularExpression::DotMatchesEverythingOption |
                                                QRegularExpression::InvertedGreedinessOption);
    const QRegularExpressionMatch match = message.match(errors);
    if (match.hasMatch()) {
        answer.errorNumber = match.captured(1).toInt();
        answer.errorText = match.captured(2);
    }
}
} // namespace

SqlAnswer SqlClients::tsql(const QString &server, const QString &password, const QString &statement,
                           const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("tsql"), {QStringLiteral("-S"), server, QStringLiteral("-U"), QStringLiteral("sa"),
                                           QStringLiteral("-P"), password, QStringLiteral("-o"), QStringLiteral("fq")});
    process.write((statement + QStringLiteral("\ngo\n")).toUtf8());
    process.closeWriteChannel();
    SqlAnswer answer;
    if (!process.waitForFinished(clientTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        answer.errorText = QStringLiteral("tsql did not finish");
        return answer;
    }
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    readServerMessage(errors, answer);
    answer.loggedIn = !errors.contains(QStringLiteral("There was a problem connecting to the server"));
    if (!answer.loggedIn)
        return answer;

    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return answer;
    answer.columns = lines.takeFirst().split(QLatin1Char('\t'));
    for (const QString &line : lines) {
        QStringList cells = line.split(QLatin1Char('\t'));
        for (QString &cell : cells)
            if (cell == QLatin1String("NULL"))
                cell = null;
        answer.rows.append(cells);
    }
    return answer;
}

SqlAnswer SqlClients::qodbc(const QString &databaseName, const QString &password, const QString &statement)
{
    const QString connection = QUuid::createUuid().toString();
    SqlAnswer answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connection);
        db.setDatabaseName(databaseName);
        db.setUserName(QStringLiteral("sa"));
        db.setPassword(password);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
        answer.loggedIn = db.open();
        if (!answer.loggedIn) {
            answer.errorText = db.lastError().databaseText();
        } else {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.exec(statement)) {
                answer.errorNumber = query.lastError().nativeErrorCode().section(QLatin1Char(';'), 0, 0).toInt();
                answer.errorText = query.lastError().databaseText();
            } else {
                const QSqlRecord record = query.record();
                for (int c = 0; c < record.count(); ++c)
                    answer.columns << record.fieldName(c);
                while (query.next()) {
                    QStringList cells;
                    for (int c = 0; c < record.count(); ++c)
                        cells << (query.isNull(c) ? null : query.value(c).toString());
                    answer.rows.append(cells);
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return answer;
}
