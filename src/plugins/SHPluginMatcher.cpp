#include "plugins/SHPluginMatcher.h"

#include "foundation/Paths.h"
#include "plugins/execsh.h"

using namespace Qt::StringLiterals;

namespace glimra {

SHPluginMatcher::SHPluginMatcher(const QString &scriptFile)
    : MatcherObject(u"SHPluginMatcher"_s, scriptFile)
{
}

QString SHPluginMatcher::name() const
{
    return basename(scriptFile());
}

QString SHPluginMatcher::kind() const
{
    return u"shell"_s;
}

bool SHPluginMatcher::matches(Context &context)
{
    const std::optional<QStringList> lines = execsh(scriptFile(), context, u"context"_s, {});
    if (!lines)
        return false;
    int count = 0;
    for (const QString &line : *lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 1)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (!isResultKey(key) || value.isEmpty())
            continue;
        context.insert(key, value);
        ++count;
    }
    return count > 0;
}

} // namespace glimra
