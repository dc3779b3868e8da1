#include "matching/ActionObject.h"

namespace glimra {

ActionObject::ActionObject(QString className, QString scriptFile)
    : m_className(std::move(className)), m_scriptFile(std::move(scriptFile))
{
}

ActionObject::~ActionObject() = default;

QString ActionObject::name() const
{
    return m_className;
}

ActionList ActionObject::actionsForContext(const Context &)
{
    return {};
}

QString ActionObject::whyNotOffered(const Context &) const
{
    return {};
}

QString ActionObject::titleName() const
{
    return {};
}

ScriptRun ActionObject::lastScriptRun() const
{
    return {};
}

void ActionObject::execute(const Context &, const Completion &done)
{
    complete(done);
}

} // namespace glimra
