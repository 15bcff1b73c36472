#pragma once

#include <QString>

// The recorder's log: one line on standard error for each change of state, never one a sample.
namespace RecorderLog {

// "<local time> <text>", the time in ISO form for whoever reads the log without a journal.
void write(const QString &text);
// A slot's line: "<time> [<slot>] <text>".
void write(const QString &slot, const QString &text);

} // namespace RecorderLog
