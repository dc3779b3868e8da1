#pragma once

#include "app/ResultPanel.h"

namespace glimra {

/// The results panel of the command line: it only counts how often it was shown; the
/// command prints the results when the guess is complete.
class ConsolePanel : public ResultPanel
{
public:
    void makeKeyAndActivate() override { ++m_shown; }
    void orderOut() override { m_visible = false; }
    int timesShown() const { return m_shown; }

private:
    int m_shown = 0;
    bool m_visible = true;
};

} // namespace glimra
