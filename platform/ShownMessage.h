#pragma once

#include <QString>

// A server's or driver's message made fit to show: every PWD= and Password= value masked, every quoted value
// longer than quotedLimit cut to that length with an ellipsis, and the whole held to
// messageLimit. A message may quote a connection string or a value of any size.
namespace ShownMessage {

constexpr qsizetype quotedLimit = 100;
constexpr qsizetype messageLimit = 2000;
inline const QString mask = QStringLiteral("*****");

QString from(const QString &message);

} // namespace ShownMessage
