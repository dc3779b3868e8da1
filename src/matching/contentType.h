#pragma once

#include "matching/Context.h"

namespace glimra {

/// A few words on what a matched context holds, as in "looks like %@": "no match",
/// "URL (…)", "list of files (…)", "a file (…)", "a text" or "a text (…)". Lengths are
/// counted in UTF-16 units; URLs and words are cut at their end, paths at their beginning.
QString contentType(const Context &matchedContext);

} // namespace glimra
