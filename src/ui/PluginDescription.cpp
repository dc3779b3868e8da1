#include "ui/PluginDescription.h"

#include "foundation/Paths.h"
#include "matching/ActionObject.h"
#include "matching/MatcherObject.h"
#include "matching/RegExpMatcher.h"

using namespace Qt::StringLiterals;

namespace glimra {

PluginDescription PluginDescription::ofBuiltIn(const QString &className)
{
    // Each built-in matcher and action by what it does; the class name only finds the row.
    static const struct
    {
        QString className;
        const char *name;
        const char *about;
    } builtIns[] = {
        {u"WordMatch"_s, QT_TR_NOOP("Words"), QT_TR_NOOP("Takes a text of one line as words to look up.")},
        {u"DCalcMatch"_s, QT_TR_NOOP("Calculator (bc)"),
         QT_TR_NOOP("Works out sums such as 2*(3+4) with bc.")},
        {u"URLMatch"_s, QT_TR_NOOP("Web addresses"), QT_TR_NOOP("Finds web addresses in the text, to open them.")},
        {u"FileMatch"_s, QT_TR_NOOP("File paths"),
         QT_TR_NOOP("Finds files and folders, and the line in main.c:42.")},
        {u"SHBangMatch"_s, QT_TR_NOOP("Backticked commands"),
         QT_TR_NOOP("Offers to run a `command`; a guess never runs it.")},
        {u"FileSearchMatch"_s, QT_TR_NOOP("Desktop file search"),
         QT_TR_NOOP("Finds a partial path in the desktop's file index.")},
        {u"RunCommandAction"_s, QT_TR_NOOP("Run"), QT_TR_NOOP("Runs a backticked command and offers what it printed.")},
        {u"PasteAction"_s, QT_TR_NOOP("Paste"), QT_TR_NOOP("Pastes a result, such as a sum, into your window.")},
        {u"OpenAction"_s, QT_TR_NOOP("Open"), QT_TR_NOOP("Opens files and addresses in their usual program.")},
        {u"RevealAction"_s, QT_TR_NOOP("Show in file manager"),
         QT_TR_NOOP("Shows a file in its folder in the file manager.")},
        {u"WebSearchAction"_s, QT_TR_NOOP("Web search"),
         QT_TR_NOOP("Looks words up with the engine set on the Search page.")},
        {u"SpotlightAction"_s, QT_TR_NOOP("Find files"), QT_TR_NOOP("Finds files named like the words with the desktop search.")},
        {u"OpenAtLineAction"_s, QT_TR_NOOP("Open at line"),
         QT_TR_NOOP("Opens a file in your editor at the given line.")},
        {u"CopyAction"_s, QT_TR_NOOP("Copy"), QT_TR_NOOP("Puts a result, a path or an address on the clipboard.")},
        // Holds its place in the list of actions and never offers anything.
        {u"EMailAction"_s, nullptr, nullptr},
    };
    for (const auto &builtIn : builtIns) {
        if (builtIn.className != className)
            continue;
        if (!builtIn.name)
            return {{}, {}, {}, false};
        return {tr(builtIn.name), tr("Built in"), tr(builtIn.about)};
    }
    return {tr("Another built-in part"), tr("Built in"), {}};
}

PluginDescription PluginDescription::ofPlugin(const QString &scriptFile)
{
    const QString extension = basename_ext(scriptFile);
    const QString kind = extension == u"pl"_s                               ? tr("Perl plug-in")
        : extension == u"sh"_s                                              ? tr("Shell plug-in")
        : extension == u"handler"_s || extension == u"scpt"_s               ? tr("Handler script")
                                                                            : tr("Plug-in");
    return {basename(scriptFile), kind, tr("In %1").arg(dirname(scriptFile))};
}

PluginDescription PluginDescription::of(const MatcherObject &matcher)
{
    if (const auto *rule = dynamic_cast<const RegExpMatcher *>(&matcher))
        return {tr("Rule for %1").arg(rule->matched_key()), tr("Rule"),
                tr("Sets %1 when its expression matches.").arg(rule->matched_key())};
    return matcher.scriptFile().isEmpty() ? ofBuiltIn(matcher.name()) : ofPlugin(matcher.scriptFile());
}

PluginDescription PluginDescription::of(const ActionObject &action)
{
    return action.scriptFile().isEmpty() ? ofBuiltIn(action.name()) : ofPlugin(action.scriptFile());
}

} // namespace glimra
