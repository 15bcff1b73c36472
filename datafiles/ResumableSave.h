#pragma once

#include <QString>

class DataFileWriter;
class SlotState;
class SlotView;
struct TWindowContext;

// The entries of one kind of data file as a save walks them, from index 0, the first line of a
// new file.
class SaveEntries {
public:
    virtual ~SaveEntries() = default;
    // Asked again after every entry: the progress counts entries added while the save lets
    // events run, though the save leaves them for the next one.
    virtual qsizetype count() const = 0;
    // Once the file is open and the save under way, before entry `start`.
    virtual void begin(DataFileWriter &file, qsizetype start) = 0;
    // False when the entry holds nothing to write; the marker then stays where it was.
    virtual bool write(DataFileWriter &file, qsizetype index) = 0;
    // True once the entries were replaced by others while the save let events run.
    virtual bool replaced() const { return false; }
};

// What a save shows; the file name follows each of them.
struct SaveTexts {
    QString saving;   // the slot's panel 1 as the save starts
    QString savingTo; // the main panel 2 as the save starts
    QString savedTo;  // the main panel 2 once the save has ended
    QString saved;    // the closing question, before "\r\nOpen File?"
};

// Appends the entries after the marker (from entry 0 when the file is new), moving the marker
// to each entry written. Events run between entries and Escape ends the save as if it were
// complete; it ends, saying so, when the entries are replaced. A save into a file that another
// save is writing only says so. A new file starts from entry 0 whatever the marker held. A
// failure keeps the file and the marker at the last entry on disk and stops the slot. Without
// auto-save the closing question offers to open the file.
void SaveResumably(const QString &fileName, QString &marker, SaveEntries &entries, const SaveTexts &texts,
                   SlotState &slot, SlotView &view, const TWindowContext &context);
