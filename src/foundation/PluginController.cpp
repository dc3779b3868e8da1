#include "foundation/PluginController.h"

#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

QString PluginController::userScriptsDir()
{
    return appSupportDir() + u"/Glimra/AppScripts"_s;
}

QString PluginController::shippedScriptsDir()
{
    return appResourcesDir() + u"/AppScripts"_s;
}

std::shared_ptr<HandlerScript> PluginController::pluginForName(const QString &name) const
{
    // A name is a file name, never a path.
    if (name.isEmpty() || name.contains(u'/') || name.startsWith(u'.'))
        return nullptr;
    for (const QString &folder : {userScriptsDir(), shippedScriptsDir()}) {
        const QString path = folder + u'/' + name + u".scpt"_s;
        if (file_exists(path))
            return HandlerScript::initWithContentsOfFile(path);
    }
    return nullptr;
}

} // namespace glimra
