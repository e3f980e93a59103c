#pragma once

// What the panel may ask of the program that hosts it.
class PanelShell {
public:
    virtual ~PanelShell() = default;
    virtual void closePanel() = 0;
};
