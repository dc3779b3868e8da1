#pragma once

#include "app/ResultPanel.h"

namespace glimra {

/// The results panel of the command line: it only counts how often it was shown; the
/// command prints the results when the guess is complete, and there is nothing to hide.
class ConsolePanel : public ResultPanel
{
public:
    void makeKeyAndActivate() override { ++m_shown; }
    void orderOut() override {}
    int timesShown() const { return m_shown; }

private:
    int m_shown = 0;
};

} // namespace glimra
