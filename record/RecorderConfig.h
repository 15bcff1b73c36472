#pragma once

#include "SlotConfig.h"

#include <QList>
#include <QStringList>

// The recorder's INI file, in the style of odbc.ini: one section a slot, "Key=Value" lines,
// blank lines and lines starting with ";" or "#" ignored. File names in it are relative to
// the file's folder. Every bad line is named, as "<file>:<line>: <reason>"; a file with any
// is used for nothing.
namespace RecorderConfig {

struct Result {
    QList<SlotConfig> sections;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

Result read(const QString &fileName);

} // namespace RecorderConfig
