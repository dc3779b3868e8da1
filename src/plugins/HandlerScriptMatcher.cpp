#include "plugins/HandlerScriptMatcher.h"

#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

HandlerScriptMatcher::HandlerScriptMatcher(const QString &scriptFile, ProgramRunner &runner)
    : MatcherObject(u"HandlerScriptMatcher"_s, scriptFile),
      m_script(HandlerScript::load(scriptFile, runner))
{
}

QString HandlerScriptMatcher::name() const
{
    return basename(scriptFile());
}

QString HandlerScriptMatcher::kind() const
{
    return u"handler script"_s;
}

bool HandlerScriptMatcher::matches(Context &context)
{
    if (!m_script)
        return false;
    m_lastRun = {};
    const QVariant result = m_script->call(u"matches_context"_s, {toJsonObject(context)}, nullptr,
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
