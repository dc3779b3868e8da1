#pragma once

namespace glimra {

/// The panel that shows the outcome of a guess: a window on the desktop, the terminal for
/// the command line. It shows the result the guess controller announces.
class ResultPanel
{
public:
    virtual ~ResultPanel() = default;
    /// Shows the panel in front (and, on the desktop, activates the application).
    virtual void showPanel() = 0;
    /// Hides the panel.
    virtual void hidePanel() = 0;
    /// The user sees the panel now (a terminal always shows what the command prints).
    virtual bool isShown() const { return true; }
};

} // namespace glimra
