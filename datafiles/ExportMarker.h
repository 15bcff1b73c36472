#pragma once

#include <QString>

// The export markers: the decimal index of the last pair or grid row already in the slot's
// file, or empty while nothing has been written.
namespace ExportMarker {

// Where a save into an existing file resumes: one after the marker, 0 for an empty marker or
// one that holds no whole number.
qsizetype resumeIndex(const QString &marker);

// The marker after `count` entries have been written or loaded from index 0: no sample is
// then skipped or written twice by the next save into that file.
QString afterEntries(qsizetype count);

} // namespace ExportMarker
