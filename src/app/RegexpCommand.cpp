#include "app/RegexpCommand.h"

#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "platform/UserDefaults.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Says so, once per call, when the pattern does not compile.
bool compiles(const QString &regexp)
{
    const QString problem = UserDefaults::regexpProblem(regexp);
    if (!problem.isNull())
        qCInfo(lcApp).noquote() << problem;
    return problem.isNull();
}

} // namespace

std::optional<QVariant> RegexpCommand::performDefaultImplementation(const QString &eventId, const QString &text,
                                                                    const QString &regexp)
{
    if (eventId == u"mreg"_s)
        return QVariant(compiles(regexp) && matches(text, regexp));
    if (eventId == u"xreg"_s) {
        const std::optional<QStringList> pieces = compiles(regexp) ? matchMultiple(text, regexp) : std::nullopt;
        return pieces ? std::optional<QVariant>(QVariant(*pieces)) : std::nullopt;
    }
    if (eventId == u"splt"_s)
        return QVariant(split(text, regexp));
    return std::nullopt;
}

} // namespace glimra
