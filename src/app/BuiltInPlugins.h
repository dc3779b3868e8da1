#pragma once

#include "matching/PluginCatalogue.h"
#include "platform/Platform.h"
#include "platform/Settings.h"

#include <functional>

#include <memory>

namespace glimra {

class FileSearchMatch;

/// The built-in matchers and actions, the file-search matcher and the hosts of the three
/// kinds of script plug-ins (Perl, handler scripts, shell), as the plug-in manager's
/// catalogue. The actions reach the desktop through `platform`.
class BuiltInPlugins
{
public:
    /// `settings` answers the settings of the guess under way (an action that needs one
    /// reads it from there, not from the file).
    BuiltInPlugins(Platform platform, std::function<Settings()> settings = {});
    ~BuiltInPlugins();

    PluginCatalogue catalogue() const;
    /// The one file-search matcher, whose hits the guess controller takes.
    FileSearchMatch &searchMatch() const { return *m_searchMatch; }

private:
    Platform m_platform;
    std::function<Settings()> m_settings;
    std::shared_ptr<FileSearchMatch> m_searchMatch;
};

} // namespace glimra
