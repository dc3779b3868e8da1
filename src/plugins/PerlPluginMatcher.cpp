#include "plugins/PerlPluginMatcher.h"

#include "foundation/Paths.h"
#include "plugins/PerlEngine.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The Perl variables that carry the context's entries in and out of %CONTEXT.
const QString ValueVariable = u"glimra_context_value"_s;
const QString KeyVariable = u"glimra_context_key"_s;

} // namespace

PerlPluginMatcher::PerlPluginMatcher(const QString &scriptFile,
                                     std::shared_ptr<PerlEngine> perlEngine)
    : MatcherObject(u"PerlPluginMatcher"_s, scriptFile), m_perlEngine(std::move(perlEngine))
{
}

QString PerlPluginMatcher::name() const
{
    return basename(scriptFile());
}

QString PerlPluginMatcher::kind() const
{
    return u"perl"_s;
}

bool PerlPluginMatcher::matches(Context &context)
{
    qint64 returned = 0;
    const bool matched = matchInEngine(context, returned);
    if (explaining()) {
        // The engine logs only failures (a die, an exit, the time bound, a script that does
        // not load): with one, the value is not what the script returned.
        const QStringList errors = m_perlEngine->errors();
        m_lastRun = {true,
                     errors.isEmpty() ? u"matches_context returned %1"_s.arg(returned)
                                      : u"matches_context failed: %1"_s.arg(errors.first()),
                     errors};
    }
    return matched;
}

bool PerlPluginMatcher::matchInEngine(Context &context, qint64 &returned)
{
    PerlEngine &perl = *m_perlEngine;
    if (!perl.parse(scriptFile()))
        return false; // logged by the engine
    perl.eval(u"%CONTEXT=();"_s);
    for (auto it = context.cbegin(); it != context.cend(); ++it) {
        perl.setStringValue(it.value(), ValueVariable);
        perl.setStringValue(it.key(), KeyVariable);
        perl.eval(u"$CONTEXT{$glimra_context_key} = $glimra_context_value;"_s);
    }
    returned = perl.execute(u"matches_context"_s);
    if (returned < 1)
        return false;

    // The keys come back one at a time from an array, so no separator a key could hold
    // is ever needed.
    const int count =
        perl.eval(u"@glimra_context_keys = keys(%CONTEXT); scalar(@glimra_context_keys)"_s).toInt();
    for (int i = 0; i < count; ++i) {
        const QString key = perl.eval(u"$glimra_context_keys[%1]"_s.arg(i));
        if (!isResultKey(key))
            continue;
        const QString value = perl.eval(u"$CONTEXT{$glimra_context_keys[%1]}"_s.arg(i));
        if (!value.isNull())
            context.insert(key, value);
    }
    return true;
}

} // namespace glimra
