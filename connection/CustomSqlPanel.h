#pragma once

#include "TWindowContext.h"

class CustomSqlView;

// The floating panel that keeps a file of SQL statements at hand. The file holds one editor
// line a line, each ended by CR LF, in the system's 8-bit encoding.
namespace CustomSqlPanel {

// bbtLoadSQLClick: opens the panel above every other control, as it was left.
void show(CustomSqlView &panel);

// btLoadSQLClick: replaces the editor's lines by those of the file named in the box, or of
// one chosen with dlgOpen when the box is empty; the chosen name goes into the box.
void load(CustomSqlView &panel, TWindowContext context);

// bbtSaveSQLClick: writes the editor's lines into the file named in the box, or into one
// chosen with dlgSave when the box is empty; the chosen name stays out of the box.
void save(const CustomSqlView &panel, TWindowContext context);

} // namespace CustomSqlPanel
