#include "ShownMessage.h"

#include <QRegularExpression>

namespace {

const QChar ellipsis(0x2026);

// An ODBC PWD= or OLE DB Password= value ends where its reader ends it: at the closing brace
// or quote of a braced or quoted value, else at ";".
QString maskPasswords(const QString &message)
{
    static const QRegularExpression pwd(
        QStringLiteral("(\\b(?:PWD|Password)\\s*=\\s*)(\\{[^}]*\\}?|\"(?:[^\"]|\"\")*\"?|'(?:[^']|'')*'?|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    QString masked = message;
    masked.replace(pwd, QStringLiteral("\\1") + ShownMessage::mask);
    return masked;
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

QString cutQuotedValues(const QString &message)
{
    QString shown;
    qsizetype at = 0;
    const qsizetype end = message.size();
    while (at < end) {
        const QChar c = message[at];
        if (!isQuote(c)) {
            shown += c;
            ++at;
            continue;
        }
        const qsizetype close = message.indexOf(c, at + 1);
        // A lone apostrophe ("can't") quotes nothing.
        if (close < 0) {
            shown += c;
            ++at;
            continue;
        }
        const qsizetype length = close - at - 1;
        shown += c;
        if (length > ShownMessage::quotedLimit) {
            shown += QStringView(message).sliced(at + 1, ShownMessage::quotedLimit);
            shown += ellipsis;
        } else {
            shown += QStringView(message).sliced(at + 1, length);
        }
        shown += c;
        at = close + 1;
    }
    return shown;
}

} // namespace

QString ShownMessage::from(const QString &message)
{
    QString shown = cutQuotedValues(maskPasswords(message));
    if (shown.size() > messageLimit)
        shown = shown.left(messageLimit) + ellipsis;
    return shown;
}
