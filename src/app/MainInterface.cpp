#include "app/MainInterface.h"

#include "app/AppDelegate.h"
#include "app/BuiltInPlugins.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "foundation/ApplicationScripts.h"
#include "foundation/GlobalContext.h"
#include "matchers/FileSearchMatch.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"

namespace glimra {

MainInterface::MainInterface(Platform platform, std::shared_ptr<UserDefaults> userDefaults,
                             ResultPanel *resultWindow)
    : m_platform(std::move(platform)),
      m_userDefaults(std::move(userDefaults)),
      m_globalContext(std::make_unique<GlobalContext>()),
      m_appDelegate(std::make_unique<AppDelegate>()),
      m_applicationScripts(std::make_unique<ApplicationScripts>()),
      m_builtIns(std::make_unique<BuiltInPlugins>(
          m_platform, [delegate = m_appDelegate.get()] { return delegate->settings(); }))
{
    AppDelegate *delegate = m_appDelegate.get();
    const auto &scripts = m_platform.applicationScripts;
    for (auto script = scripts.cbegin(); script != scripts.cend(); ++script)
        m_applicationScripts->registerBuiltIn(script.key(), script.value());
    m_focusTracker = std::make_unique<FocusTracker>(
        m_applicationScripts.get(), m_platform.runningApplications.get(),
        &delegate->applicationContext());
    m_copySelection = std::make_unique<CopySelection>(m_applicationScripts.get(),
                                                      m_platform.clipboard,
                                                      m_platform.runningApplications.get());
    m_pluginManager = std::make_unique<PluginManager>(m_builtIns->catalogue(), m_platform.fileManager);
    m_matchingEngine = std::make_unique<MatchingEngine>(m_pluginManager.get());

    delegate->setFocusTracker(m_focusTracker.get());
    delegate->setCopySelection(m_copySelection.get());
    delegate->setMatchingEngine(m_matchingEngine.get());
    delegate->setResultWindow(resultWindow);
    delegate->setNotifier(m_platform.notifier);
    delegate->setClipboard(m_platform.clipboard);
    delegate->setUserDefaults(m_userDefaults.get());
    delegate->setGlobalContext(m_globalContext.get());
    delegate->setLateResults(&m_builtIns->searchMatch());

    delegate->clearContexts();
    m_pluginManager->loadPlugins();
    // "refresh_plugins": the delegate posts it (the refresh command), a new plug-in file
    // sends it, and the plug-in manager reloads on it.
    QObject::connect(m_pluginManager.get(), &PluginManager::pluginFileCreated, delegate,
                     &AppDelegate::refresh_plugins);
    QObject::connect(delegate, &AppDelegate::refresh_plugins, m_pluginManager.get(),
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
    m_matchingEngine.reset();
    m_pluginManager.reset();
}

} // namespace glimra
