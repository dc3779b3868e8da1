#include "matchers/SHBangMatch.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The command between the backticks of a selection; null when it is not so written. One
// backtick alone both begins and ends the text, but holds no command.
QString commandOf(const Context &context)
{
    const QString value = context.value(CTX_TEXT);
    if (str_isNullOrEmpty(value))
        return {};
    const QStringView text = QStringView(value).trimmed();
    if (text.size() < 2 || !text.startsWith(u'`') || !text.endsWith(u'`'))
        return {};
    return text.sliced(1, text.size() - 2).toString();
}

} // namespace

SHBangMatch::SHBangMatch(ProgramRunner &runner) : MatcherObject(u"SHBangMatch"_s), m_runner(runner) {}

void SHBangMatch::beginRun(const MatchRun &run)
{
    m_runCommands = run.runCommands;
}

bool SHBangMatch::matches(Context &workingContext)
{
    const QString command = commandOf(workingContext);
    if (command.isNull())
        return false;
    if (m_runCommands)
        return executePipe(command, workingContext);
    workingContext.insert(ACT_COMMAND, command);
    return true;
}

QString SHBangMatch::whyNot(const Context &workingContext) const
{
    const QStringView text = QStringView(workingContext.value(CTX_TEXT)).trimmed();
    if (text.isEmpty())
        return NoText.toString();
    if (commandOf(workingContext).isNull())
        return u"the text is not in backticks"_s;
    return u"the command failed or ran too long"_s;
}

bool SHBangMatch::executePipe(const QString &command, Context &context) const
{
    const std::optional<QString> folder = context.contains(CTX_DIR)
        ? std::optional<QString>(context.value(CTX_DIR))
        : std::nullopt;
    // A front document that no longer exists gives no folder: not here either.
    if (!folder && context.contains(CTX_PATH))
        return false;
    const QString output = ShellCommand::output(m_runner.run(ShellCommand::request(command, folder)));
    if (output.isNull())
        return false;
    context.insert(ACT_TEXT, output);
    return true;
}

} // namespace glimra
