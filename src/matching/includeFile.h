#pragma once

#include "platform/Predicate.h"

#include <QString>

#include <optional>

namespace glimra {

/// False when the user's "search_exclusion_filter" holds for the file: a predicate over
/// "filename", "dirname", "path" and "extension". True when no filter is stored.
bool includeFile(const QString &path);

/// The same with a filter read once (searchExclusionFilter()) for many files.
bool includeFile(const QString &path, const std::optional<Predicate> &filter);
std::optional<Predicate> searchExclusionFilter();

} // namespace glimra
