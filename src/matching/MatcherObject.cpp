#include "matching/MatcherObject.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

MatcherObject::MatcherObject(QString className, QString scriptFile)
    : m_className(std::move(className)), m_scriptFile(std::move(scriptFile))
{
}

MatcherObject::~MatcherObject() = default;

QString MatcherObject::name() const
{
    return m_className;
}

QString MatcherObject::kind() const
{
    return u"built-in"_s;
}

void MatcherObject::beginRun(const MatchRun &) {}

QString MatcherObject::whyNot(const Context &) const
{
    return {};
}

ScriptRun MatcherObject::lastScriptRun() const
{
    return {};
}

bool MatcherObject::matches(Context &)
{
    return false;
}

QStringList MatcherObject::foundFileList(const Context &context) const
{
    return split(context.value(ACT_PATHS), u"\n"_s);
}

bool MatcherObject::hasFoundFiles(const Context &context) const
{
    return !forEachPiece(context.value(ACT_PATHS), u"\n", [](QStringView) { return false; });
}

} // namespace glimra
