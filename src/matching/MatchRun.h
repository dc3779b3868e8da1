#pragma once

#include "platform/Settings.h"

#include <memory>

#include <QtGlobal>

namespace glimra {

/// What the matchers of one guess share: the guess's identity, which results that arrive
/// later carry, and the settings as they were when the guess began.
struct Explanation;

struct MatchRun
{
    quint64 guess = 0;
    Settings settings;
    /// Filled with what each matcher did, when the guess is to be explained.
    std::shared_ptr<Explanation> explanation;
    /// The caller trusts its text: a command between backticks runs during the guess. A
    /// guess of a selection only recognises it (a guess never runs anything).
    bool runCommands = false;
};

} // namespace glimra
