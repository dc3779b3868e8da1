#pragma once

#include "matching/ActionObject.h"
#include "matching/MatcherObject.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace glimra {

/// What the plug-in manager makes its lists from. The program's assembly fills it: the
/// built-in matchers and actions live in the layers above the matching core, which knows
/// them only through this.
struct PluginCatalogue
{
    /// A kind of script plug-in: the files that match one of `patterns` (wildcards over
    /// file names, matched case-sensitively) become plug-ins through `make`.
    template <typename Plugin>
    struct Host
    {
        QStringList patterns;
        std::function<Plugin(const QString &file)> make;
    };

    /// New instances of the built-in matchers, in run order.
    std::function<MatcherList()> builtInMatchers;
    /// New prototypes of the built-in actions, in offer order.
    std::function<ActionList()> builtInActions;
    /// The one file-search matcher: it outlives every reload and always runs last.
    MatcherPtr searchMatcher;
    /// The hosts of script plug-ins, in the order their kinds join the lists.
    QList<Host<MatcherPtr>> matcherHosts;
    QList<Host<ActionPtr>> actionHosts;
};

} // namespace glimra
