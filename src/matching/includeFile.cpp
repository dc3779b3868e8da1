#include "matching/includeFile.h"

#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

std::optional<Predicate> searchExclusionFilter(const Settings &settings)
{
    return settings.unarchiveObjectForKey(u"search_exclusion_filter"_s);
}

bool includeFile(const QString &path, const std::optional<Predicate> &filter)
{
    if (!filter)
        return true;
    const QVariantMap file{{u"filename"_s, basename(path)},
                           {u"dirname"_s, dirname(path)},
                           {u"path"_s, path},
                           {u"extension"_s, basename_ext(path)}};
    return !filter->evaluateWithObject(file);
}

} // namespace glimra
