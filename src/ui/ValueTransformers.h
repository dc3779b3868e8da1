#pragma once

#include "matching/Context.h"

#include <QString>

namespace glimra {

/// Turns the controller's selectedTab into the identifier of the tab the results panel
/// shows: 1 or less gives "actions", 2 or more "files". A tab the user picks is never
/// written back (the reverse transformation gives nothing).
class SelectTabTransformer
{
public:
    static QString transformedValue(qint64 selectedTab);
    static constexpr bool allowsReverseTransformation() { return true; }
};

/// Turns a matched context into the one-line description the panel shows (contentType).
class ContextInfoTransformer
{
public:
    static QString transformedValue(const Context &matchedContext);
    static constexpr bool allowsReverseTransformation() { return false; }
};

} // namespace glimra
