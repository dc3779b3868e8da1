#include "app/MainInterface.h"

#include "app/AppDelegate.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "foundation/PluginController.h"
#include "matchers/FileSearchMatch.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"

namespace glimra {

MainInterface::MainInterface(Platform platform, ResultPanel *resultWindow)
    : m_platform(std::move(platform)),
      m_appDelegate(std::make_unique<AppDelegate>()),
      m_pluginController(std::make_unique<PluginController>())
{
    AppDelegate *delegate = m_appDelegate.get();
    m_focusTracker = std::make_unique<FocusTracker>(
        m_pluginController.get(), m_platform.runningApplications.get(), delegate);
    m_copySelection = std::make_unique<CopySelection>(m_pluginController.get(),
                                                      m_platform.generalPasteboard);
    m_pluginManager = std::make_unique<PluginManager>(delegate, m_platform);
    m_matchingEngine = std::make_unique<MatchingEngine>(m_pluginManager.get());

    delegate->setFocusTracker(m_focusTracker.get());
    delegate->setCopySelection(m_copySelection.get());
    delegate->setMatchingEngine(m_matchingEngine.get());
    delegate->setResultWindow(resultWindow);
    delegate->setNotifier(m_platform.notifier);
    delegate->setGeneralPasteboard(m_platform.generalPasteboard);

    delegate->awakeFromNib();
    m_pluginManager->awakeFromNib();
    m_pluginManager->searchMatch()->setResultReceiver(
        [delegate](const QList<FileObject> &files) { delegate->addResultFiles(files); });
    if (m_platform.runningApplications) {
        QObject::connect(m_platform.runningApplications.get(),
                         &RunningApplications::applicationActivated, delegate,
                         &AppDelegate::applicationFocusDidChange);
    }
}

MainInterface::~MainInterface()
{
    // The plug-in manager unbinds itself from the delegate's events: it goes first.
    m_matchingEngine.reset();
    m_pluginManager.reset();
}

} // namespace glimra
