#pragma once

#include "app/ResultPanel.h"

namespace glimra {

/// The results panel of the command line: the command prints the results when the guess
/// is complete, so showing and hiding do nothing.
class ConsolePanel : public ResultPanel
{
public:
    void showPanel() override {}
    void hidePanel() override {}
};

} // namespace glimra
