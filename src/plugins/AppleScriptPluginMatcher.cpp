#include "plugins/AppleScriptPluginMatcher.h"

#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

AppleScriptPluginMatcher::AppleScriptPluginMatcher(const QString &scriptFile)
    : MatcherObject(u"AppleScriptPluginMatcher"_s, scriptFile),
      m_asScript(HandlerScript::load(scriptFile))
{
}

QString AppleScriptPluginMatcher::name() const
{
    return basename(scriptFile());
}

QString AppleScriptPluginMatcher::description() const
{
    return u"AppleScriptMatcher %1"_s.arg(name());
}

QString AppleScriptPluginMatcher::kind() const
{
    return u"handler script"_s;
}

bool AppleScriptPluginMatcher::matches(Context &context)
{
    if (!m_asScript)
        return false;
    m_lastRun = {};
    const QVariant result = m_asScript->call(u"matches_context"_s, {toJsonObject(context)}, nullptr,
                                             explaining() ? &m_lastRun : nullptr);
    // A result of another kind than an object is no match.
    if (result.typeId() != QMetaType::QVariantMap)
        return false;
    const QVariantMap fields = result.toMap();
    if (fields.isEmpty())
        return false;
    const Context values = contextFromVariantMap(fields);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (isResultKey(it.key()))
            context.insert(it.key(), it.value());
    }
    return true;
}

} // namespace glimra
