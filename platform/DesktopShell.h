#pragma once

#include <QString>

// The desktop's "open" action: shows a file in the application associated with its type.
namespace DesktopShell {

// False when the desktop could not start an application for the file.
bool openFile(const QString &fileName);

} // namespace DesktopShell
