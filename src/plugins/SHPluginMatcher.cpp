#include "plugins/SHPluginMatcher.h"

#include "foundation/Paths.h"
#include "plugins/execsh.h"

using namespace Qt::StringLiterals;

namespace glimra {

SHPluginMatcher::SHPluginMatcher(const QString &scriptFile, ProgramRunner &runner)
    : MatcherObject(u"SHPluginMatcher"_s, scriptFile), m_runner(runner)
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
    m_lastRun = {};
    const std::optional<QStringList> lines = execsh(m_runner, scriptFile(), context, u"context"_s, {}, std::chrono::seconds(5),
                                                    nullptr, explaining() ? &m_lastRun : nullptr);
    if (!lines)
        return false;
    const Context entries = resultEntries(*lines);
    context.insert(entries);
    return !entries.isEmpty();
}

Context SHPluginMatcher::resultEntries(const QStringList &lines)
{
    Context entries;
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 1)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (isResultKey(key) && !value.isEmpty())
            entries.insert(key, value);
    }
    return entries;
}

} // namespace glimra
