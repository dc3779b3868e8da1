#pragma once

#include "platform/Platform.h"

#include <memory>

namespace glimra {

class AppDelegate;
class CopySelection;
class FocusTracker;
class MatchingAssembly;
class MatchingEngine;
class ApplicationScripts;
class PluginManager;
class ResultPanel;
class UserDefaults;

/// Creates the guess controller and its collaborators and connects them, as the
/// application's main interface file does: nothing else creates them. Owns them all and
/// the state they share (the settings, the application scripts), and wires the events between them ("refresh_plugins", focus
/// changes, late search results).
class MainInterface
{
public:
    /// `resultWindow` is not owned and must outlive the interface.
    MainInterface(Platform platform, std::shared_ptr<UserDefaults> userDefaults,
                  ResultPanel *resultWindow);
    ~MainInterface();

    AppDelegate &appDelegate() const { return *m_appDelegate; }
    PluginManager &pluginManager() const;
    MatchingEngine &matchingEngine() const;
    FocusTracker &focusTracker() const { return *m_focusTracker; }
    CopySelection &copySelection() const { return *m_copySelection; }
    UserDefaults &userDefaults() const { return *m_userDefaults; }
    const Platform &platform() const { return m_platform; }

private:
    Platform m_platform;
    std::shared_ptr<UserDefaults> m_userDefaults;
    std::unique_ptr<ApplicationScripts> m_applicationScripts;
    std::unique_ptr<MatchingAssembly> m_matching;
    std::unique_ptr<FocusTracker> m_focusTracker;
    std::unique_ptr<CopySelection> m_copySelection;
    // Made last, with the others; goes first.
    std::unique_ptr<AppDelegate> m_appDelegate;
};

} // namespace glimra
