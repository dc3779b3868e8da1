#pragma once

#include "platform/Platform.h"

#include <memory>

namespace glimra {

class AppDelegate;
class BuiltInPlugins;
class CopySelection;
class FocusTracker;
class GlobalContext;
class MatchingEngine;
class ApplicationScripts;
class PluginManager;
class ResultPanel;
class UserDefaults;

/// Creates the guess controller and its collaborators and connects them, as the
/// application's main interface file does: nothing else creates them. Owns them all and
/// the state they share (the global context with "do_follow_mouse", the settings, the
/// application scripts), and wires the events between them ("refresh_plugins", focus
/// changes, late search results).
class MainInterface
{
public:
    /// `resultWindow` is not owned and must outlive the interface.
    MainInterface(Platform platform, std::shared_ptr<UserDefaults> userDefaults,
                  ResultPanel *resultWindow);
    ~MainInterface();

    AppDelegate &appDelegate() const { return *m_appDelegate; }
    PluginManager &pluginManager() const { return *m_pluginManager; }
    MatchingEngine &matchingEngine() const { return *m_matchingEngine; }
    FocusTracker &focusTracker() const { return *m_focusTracker; }
    CopySelection &copySelection() const { return *m_copySelection; }
    GlobalContext &globalContext() const { return *m_globalContext; }
    UserDefaults &userDefaults() const { return *m_userDefaults; }
    const Platform &platform() const { return m_platform; }

private:
    Platform m_platform;
    std::shared_ptr<UserDefaults> m_userDefaults;
    std::unique_ptr<GlobalContext> m_globalContext;
    std::unique_ptr<AppDelegate> m_appDelegate;
    std::unique_ptr<ApplicationScripts> m_applicationScripts;
    std::unique_ptr<BuiltInPlugins> m_builtIns;
    std::unique_ptr<FocusTracker> m_focusTracker;
    std::unique_ptr<CopySelection> m_copySelection;
    std::unique_ptr<PluginManager> m_pluginManager;
    std::unique_ptr<MatchingEngine> m_matchingEngine;
};

} // namespace glimra
