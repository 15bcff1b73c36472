#pragma once

class QWidget;
class StatusPanels;
class TDialogs;
struct TWindowState;

// What an action outside the window may touch of the window as a whole: the window-wide
// state, the main status bar's panels and the modal boxes.
struct TWindowContext {
    TWindowState &state;
    StatusPanels &sbStatus;
    TDialogs &dialogs;
    QWidget *owner; // parent of the modal boxes
};
