#include "foundation/ApplicationScripts.h"

#include "foundation/HandlerScript.h"
#include "foundation/Paths.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The names the generic scripts had before; a user's script under one still replaces them.
QString olderName(const QString &name)
{
    if (name == ApplicationScripts::Default)
        return u"CurrentCocoaApp"_s;
    if (name == ApplicationScripts::DefaultSelection)
        return u"CurrentCocoaApp-selection"_s;
    return {};
}

} // namespace

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
    const QString mine = usersFile(name);
    if (!mine.isNull())
        return HandlerScript::load(mine, m_runner);
    if (std::shared_ptr<ApplicationScript> builtIn = m_builtIns.value(name))
        return builtIn;
    const QString shippedFile = shippedScriptsDir() + u'/' + name + u".scpt"_s;
    if (file_exists(shippedFile))
        return HandlerScript::load(shippedFile, m_runner);
    return nullptr;
}

QString ApplicationScripts::usersFile(const QString &name)
{
    for (const QString &candidate : {name, olderName(name)}) {
        const QString file = userScriptsDir() + u'/' + candidate + u".scpt"_s;
        if (!candidate.isNull() && file_exists(file))
            return file;
    }
    return {};
}

} // namespace glimra
