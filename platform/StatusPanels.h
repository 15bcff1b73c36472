#pragma once

#include <QString>

// Numbered message panels, from 0: what actions report to without knowing the status bar.
class StatusPanels {
public:
    virtual ~StatusPanels() = default;
    virtual QString panelText(int panel) const = 0;
    virtual void setPanelText(int panel, const QString &text) = 0;
    // Shows the texts at once, for a long loop that holds up the event loop; panels that are
    // not painted have nothing to do.
    virtual void repaintNow() {}
};
