#pragma once

#include "StatusPanels.h"

#include <QStringList>

// Panels nobody looks at: the texts are kept for whoever asks, and nothing is painted.
class PanelTexts : public StatusPanels {
public:
    QString panelText(int panel) const override { return texts_.value(panel); }
    void setPanelText(int panel, const QString &text) override
    {
        if (panel < 0)
            return;
        while (texts_.size() <= panel)
            texts_ << QString();
        texts_[panel] = text;
    }

private:
    QStringList texts_;
};
