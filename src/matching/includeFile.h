#pragma once

#include "platform/Predicate.h"
#include "platform/Settings.h"

#include <QString>

#include <optional>

namespace glimra {

/// False when the user's exclusion filter holds for the file: a predicate over
/// "filename", "dirname", "path" and "extension". True when there is no filter.
bool includeFile(const QString &path, const std::optional<Predicate> &filter);

/// The exclusion filter of `settings` ("search_exclusion_filter"), parsed once for the
/// many files of a search.
std::optional<Predicate> searchExclusionFilter(const Settings &settings);

} // namespace glimra
