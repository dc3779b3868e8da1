#pragma once

#include "platform/Settings.h"

#include <QtGlobal>

namespace glimra {

/// What the matchers of one guess share: the guess's identity, which results that arrive
/// later carry, and the settings as they were when the guess began.
struct MatchRun
{
    quint64 guess = 0;
    Settings settings;
};

} // namespace glimra
