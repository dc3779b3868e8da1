#pragma once

#include "matching/ActionObject.h"
#include "matching/MatcherObject.h"
#include "platform/Settings.h"

namespace glimra {

/// Where the matching engine takes its matchers and action prototypes from: the plug-in
/// manager in the program, a fixed list in tests.
class PluginLists
{
public:
    virtual ~PluginLists() = default;
    /// The full run order of one guess, with the regular-expression matchers of
    /// `settings`; a new list on every call.
    virtual MatcherList allMatchers(const Settings &settings) = 0;
    /// The action prototypes, in offer order.
    virtual ActionList actionList() const = 0;
};

} // namespace glimra
