#pragma once

// The window that carries the panel, as the toggle sees it.
class PopoverSurface {
public:
    virtual ~PopoverSurface() = default;
    virtual bool isShown() const = 0;
    // Shows the panel and gives it the keyboard.
    virtual void present() = 0;
    virtual void dismiss() = 0;
};
