#pragma once

#include <QString>

// The status bar's two text panels, numbered 1 and 2.
class IStatusPanels {
public:
    virtual ~IStatusPanels() = default;
    virtual void SetPanelText(int panel, const QString& text) = 0;
    virtual QString PanelText(int panel) const = 0;
};
