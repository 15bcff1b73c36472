#pragma once

// Qt's own dialogs keep their history (last folder, view mode, custom colours) in a settings
// file of their own; this program writes no file the user did not ask for. Afterwards Qt's
// user settings read as empty and are never written.
void discardQtSettings();
