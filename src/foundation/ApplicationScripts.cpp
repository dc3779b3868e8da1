#include "foundation/ApplicationScripts.h"

#include "foundation/HandlerScript.h"
#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

QString ApplicationScripts::userScriptsDir()
{
    return appSupportDir() + u"/Glimra/AppScripts"_s;
}

QString ApplicationScripts::shippedScriptsDir()
{
    return appResourcesDir() + u"/AppScripts"_s;
}

void ApplicationScripts::registerBuiltIn(const QString &name,
                                         std::shared_ptr<ApplicationScript> script)
{
    m_builtIns.insert(name, std::move(script));
}

std::shared_ptr<ApplicationScript> ApplicationScripts::find(const QString &name) const
{
    // A name is a file name, never a path.
    if (name.isEmpty() || name.contains(u'/') || name.startsWith(u'.'))
        return nullptr;
    // A file of the name decides, even one that cannot be loaded.
    const QString usersFile = userScriptsDir() + u'/' + name + u".scpt"_s;
    if (file_exists(usersFile))
        return HandlerScript::load(usersFile);
    if (std::shared_ptr<ApplicationScript> builtIn = m_builtIns.value(name))
        return builtIn;
    const QString shippedFile = shippedScriptsDir() + u'/' + name + u".scpt"_s;
    if (file_exists(shippedFile))
        return HandlerScript::load(shippedFile);
    return nullptr;
}

} // namespace glimra
