#include "app/MatchingAssembly.h"

#include "app/BuiltInPlugins.h"
#include "matchers/FileSearchMatch.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"

namespace glimra {

MatchingAssembly::MatchingAssembly(const Platform &platform, std::function<Settings()> settings)
    : m_builtIns(std::make_unique<BuiltInPlugins>(platform, std::move(settings))),
      m_pluginManager(std::make_unique<PluginManager>(m_builtIns->catalogue(), platform.fileManager)),
      m_engine(std::make_unique<MatchingEngine>(m_pluginManager.get()))
{
    m_pluginManager->loadPlugins();
}

MatchingAssembly::~MatchingAssembly()
{
    // What points at others goes first.
    m_engine.reset();
    m_pluginManager.reset();
}

LateResults &MatchingAssembly::lateResults() const
{
    return m_builtIns->searchMatch();
}

} // namespace glimra
