#include "app/MainInterface.h"

#include "app/AppDelegate.h"
#include "app/MatchingAssembly.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "foundation/ApplicationScripts.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"

namespace glimra {

MainInterface::MainInterface(Platform platform, std::shared_ptr<UserDefaults> userDefaults,
                             ResultPanel *resultWindow)
    : m_platform(std::move(platform)),
      m_userDefaults(std::move(userDefaults)),
      m_applicationScripts(std::make_unique<ApplicationScripts>()),
      // The settings and the last focused application are the delegate's, read during a
      // guess: the delegate is made last, with everything it works with.
      m_matching(std::make_unique<MatchingAssembly>(
          m_platform, [this] { return m_appDelegate->settings(); }))
{
    const auto &scripts = m_platform.applicationScripts;
    for (auto script = scripts.cbegin(); script != scripts.cend(); ++script)
        m_applicationScripts->registerBuiltIn(script.key(), script.value());
    m_focusTracker = std::make_unique<FocusTracker>(
        m_applicationScripts.get(), m_platform.runningApplications.get(),
        [this] { return m_appDelegate->applicationContext(); });
    m_copySelection = std::make_unique<CopySelection>(m_applicationScripts.get(),
                                                      m_platform.clipboard,
                                                      m_platform.runningApplications.get());
    m_appDelegate = std::make_unique<AppDelegate>(AppDelegate::Collaborators{
        *m_focusTracker, *m_copySelection, m_matching->engine(), m_matching->lateResults(),
        *m_userDefaults, m_platform.notifier, m_platform.clipboard});
    AppDelegate *delegate = m_appDelegate.get();
    delegate->setResultWindow(resultWindow);

    // "refresh_plugins": the delegate posts it (the refresh command), a new plug-in file
    // sends it, and the plug-in manager reloads on it.
    QObject::connect(&pluginManager(), &PluginManager::pluginFileCreated, delegate,
                     &AppDelegate::refresh_plugins);
    QObject::connect(delegate, &AppDelegate::refresh_plugins, &pluginManager(),
                     &PluginManager::refreshPlugins);
    if (m_platform.runningApplications) {
        QObject::connect(m_platform.runningApplications.get(),
                         &RunningApplications::applicationActivated, delegate,
                         &AppDelegate::applicationFocusDidChange);
    }
}

MainInterface::~MainInterface()
{
    // What points at others goes first.
    m_appDelegate.reset();
    m_matching.reset();
}

PluginManager &MainInterface::pluginManager() const
{
    return m_matching->pluginManager();
}

MatchingEngine &MainInterface::matchingEngine() const
{
    return m_matching->engine();
}

} // namespace glimra
