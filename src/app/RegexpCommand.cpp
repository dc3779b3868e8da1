#include "app/RegexpCommand.h"

#include "foundation/BoundedRegexp.h"
#include "foundation/Log.h"
#include "foundation/OffThread.h"
#include "foundation/Strings.h"
#include "platform/UserDefaults.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Says so, once per call, when the pattern does not compile.
bool compiles(const BoundedRegexp &expression, const QString &regexp)
{
    if (!expression.isValid())
        qCInfo(lcApp).noquote() << UserDefaults::regexpProblem(regexp);
    return expression.isValid();
}

RegexpCommand::Answer matchAnswer(const QString &eventId, const QString &text, const QString &regexp)
{
    const BoundedRegexp expression(regexp);
    if (!compiles(expression, regexp))
        return {eventId == u"mreg"_s ? std::optional<QVariant>(false) : std::nullopt, {}};
    BoundedRegexp::Budget budget;
    const BoundedRegexp::Match match = expression.match(text, budget);
    if (match.result == BoundedRegexp::Match::Result::LimitReached)
        return {std::nullopt, BoundedRegexp::limitMessage(match.limit)};
    if (eventId == u"mreg"_s)
        return {QVariant(match.matched()), {}};
    return {match.matched() ? std::optional<QVariant>(QVariant(match.pieces)) : std::nullopt, {}};
}

} // namespace

RegexpCommand::Answer RegexpCommand::perform(const QString &eventId, const QString &text, const QString &regexp)
{
    if (eventId == u"mreg"_s || eventId == u"xreg"_s)
        return matchAnswer(eventId, text, regexp);
    if (eventId == u"splt"_s)
        return {QVariant(split(text, regexp)), {}};
    return {};
}

bool RegexpCommand::performInBackground(const QString &eventId, const QString &text, const QString &regexp,
                                        QObject *context, std::function<void(const Answer &)> answer)
{
    auto result = std::make_shared<Answer>();
    return OffThread::start([result, eventId, text, regexp] { *result = perform(eventId, text, regexp); },
                            context, [result, answer = std::move(answer)] { answer(*result); });
}

} // namespace glimra
