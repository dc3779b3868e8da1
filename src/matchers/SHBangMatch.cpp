#include "matchers/SHBangMatch.h"

#include "foundation/Shell.h"
#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

SHBangMatch::SHBangMatch() : MatcherObject(u"SHBangMatch"_s) {}

bool SHBangMatch::matches(Context &workingContext)
{
    const QString value = workingContext.value(CTX_TEXT);
    if (str_isNullOrEmpty(value))
        return false;
    const QStringView text = QStringView(value).trimmed();
    // One backtick alone both begins and ends the text, but holds no command.
    if (text.size() < 2 || !text.startsWith(u'`') || !text.endsWith(u'`'))
        return false;
    return executePipe(text.sliced(1, text.size() - 2).toString(), workingContext);
}

QString SHBangMatch::whyNot(const Context &workingContext) const
{
    const QStringView text = QStringView(workingContext.value(CTX_TEXT)).trimmed();
    if (text.isEmpty())
        return NoText.toString();
    if (text.size() < 2 || !text.startsWith(u'`') || !text.endsWith(u'`'))
        return u"the text is not in backticks"_s;
    return u"the command failed or ran too long"_s;
}

bool SHBangMatch::executePipe(const QString &command, Context &context) const
{
    // A folder named "-x" is a folder, not an option of cd ("--"), and one named "-" is not
    // the previous folder (a relative path is written from "./").
    QString folder = context.value(CTX_DIR);
    if (!folder.startsWith(u'/'))
        folder.prepend(u"./"_s);
    const QString line = context.contains(CTX_DIR)
        ? u"cd -- %1;%2"_s.arg(shellQuote(folder), command)
        : command;
    const QString output = eval_shell(line, TimeBound);
    if (output.isNull())
        return false;
    context.insert(ACT_TEXT, trim(output));
    return true;
}

} // namespace glimra
