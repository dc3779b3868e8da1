#pragma once

#include "platform/Platform.h"

#include <memory>

namespace glimra {

class AppDelegate;
class CopySelection;
class FocusTracker;
class MatchingEngine;
class PluginController;
class PluginManager;
class ResultPanel;

/// Creates the guess controller and its collaborators and connects them, as the
/// application's main interface file does: nothing else creates them. Owns them all.
class MainInterface
{
public:
    /// `resultWindow` is not owned and must outlive the interface.
    MainInterface(Platform platform, ResultPanel *resultWindow);
    ~MainInterface();

    AppDelegate &appDelegate() const { return *m_appDelegate; }
    PluginManager &pluginManager() const { return *m_pluginManager; }
    MatchingEngine &matchingEngine() const { return *m_matchingEngine; }
    FocusTracker &focusTracker() const { return *m_focusTracker; }
    CopySelection &copySelection() const { return *m_copySelection; }
    const Platform &platform() const { return m_platform; }

private:
    Platform m_platform;
    std::unique_ptr<AppDelegate> m_appDelegate;
    std::unique_ptr<PluginController> m_pluginController;
    std::unique_ptr<FocusTracker> m_focusTracker;
    std::unique_ptr<CopySelection> m_copySelection;
    std::unique_ptr<PluginManager> m_pluginManager;
    std::unique_ptr<MatchingEngine> m_matchingEngine;
};

} // namespace glimra
