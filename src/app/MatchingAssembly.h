#pragma once

#include "platform/Platform.h"
#include "platform/Settings.h"

#include <functional>
#include <memory>

namespace glimra {

class BuiltInPlugins;
class LateResults;
class MatchingEngine;
class PluginManager;

/// What a guess needs to recognise a selection and to offer actions, and nothing of the
/// desktop's capture or of the controller: the built-in matchers and actions, the plug-ins
/// (loaded once made) and the matching engine over them. The resident application's
/// assembly holds one; `glimra match` makes one of its own and calls the pipeline on it.
class MatchingAssembly
{
public:
    /// `settings` answers the settings of the guess under way.
    MatchingAssembly(const Platform &platform, std::function<Settings()> settings);
    ~MatchingAssembly();

    MatchingEngine &engine() const { return *m_engine; }
    PluginManager &pluginManager() const { return *m_pluginManager; }
    /// Where the files a desktop search finds after a guess come from.
    LateResults &lateResults() const;

private:
    std::unique_ptr<BuiltInPlugins> m_builtIns;
    std::unique_ptr<PluginManager> m_pluginManager;
    std::unique_ptr<MatchingEngine> m_engine;
};

} // namespace glimra
