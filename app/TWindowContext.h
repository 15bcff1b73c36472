#pragma once

class QWidget;
class TDialogs;
class TStatusBar;
struct TWindowState;

// What an action outside the window may touch of the window as a whole: the window-wide
// state, the main status bar and the modal boxes.
struct TWindowContext {
    TWindowState &state;
    TStatusBar &sbStatus;
    TDialogs &dialogs;
    QWidget *owner; // parent of the modal boxes
};
