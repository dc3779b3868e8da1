#include "actions/RunCommandAction.h"

#include "foundation/ProcessJob.h"
#include "foundation/ShellCommand.h"

using namespace Qt::StringLiterals;

namespace glimra {

RunCommandAction::RunCommandAction() : ActionObject(u"RunCommandAction"_s) {}

ActionList RunCommandAction::actionsForContext(const Context &context)
{
    if (!context.contains(ACT_COMMAND))
        return {};
    auto offer = std::make_shared<RunCommandAction>();
    offer->setLabel(u"run"_s);
    offer->setDetail(context.value(ACT_COMMAND));
    return {offer};
}

QString RunCommandAction::whyNotOffered(const Context &) const
{
    return u"it needs ACT_COMMAND"_s;
}

void RunCommandAction::execute(const Context &context, const Completion &done)
{
    // The folder is the one the selection came from, as during a guess.
    const std::optional<QString> folder = context.contains(CTX_DIR)
        ? std::optional<QString>(context.value(CTX_DIR))
        : std::nullopt;
    // Anywhere else (Glimra's own folder) the command would act on files it was not meant for.
    if (const QString why = ShellCommand::whyNotIn(folder); !why.isNull())
        return complete(done, Outcome::failure(why));
    // A front document that names no existing file or folder (a terminal whose folder was
    // removed) gives no folder: where the command was meant to run is unknown.
    if (!folder && context.contains(CTX_PATH))
        return complete(done, Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome",
                                                                 "the folder of %1 cannot be entered: it no longer exists"),
                                               {context.value(CTX_PATH)}));
    ProcessJob::start(ShellCommand::request(detail(), folder), [done](const ProcessResult &result) {
        const QString output = ShellCommand::output(result);
        if (output.isNull()) {
            const QString why = result.failureDescription();
            // Stopped or never started: that is the news, not that nothing came.
            const bool ended = result.started && !result.timedOut && !result.cancelled;
            return complete(done, Outcome::failure(
                !ended         ? QT_TRANSLATE_NOOP("glimra::Outcome", "the command did not end: %1")
                : why.isEmpty() ? QT_TRANSLATE_NOOP("glimra::Outcome", "the command printed nothing")
                                : QT_TRANSLATE_NOOP("glimra::Outcome", "the command printed nothing: %1"),
                {why}));
        }
        Outcome outcome;
        outcome.text = output;
        complete(done, outcome);
    });
}

} // namespace glimra
