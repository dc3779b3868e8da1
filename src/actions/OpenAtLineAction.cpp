#include "actions/OpenAtLineAction.h"

#include "actions/CommandTemplate.h"
#include "actions/MimeDefaultApplication.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"


#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// One to nine decimal digits: a line or column number that fits an int.
bool isNumber(const QString &text)
{
    return !text.isEmpty() && text.size() <= 9
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

OpenAtLineAction::OpenAtLineAction(std::shared_ptr<FileManager> fileManager,
                                   std::function<QString()> editorSetting, ProgramRunner &runner)
    : ActionObject(u"OpenAtLineAction"_s),
      m_fileManager(std::move(fileManager)),
      m_editorSetting(std::move(editorSetting)),
      m_runner(runner)
{
}

ActionList OpenAtLineAction::actionsForContext(const Context &context)
{
    const QString file = context.value(ACT_PATH);
    const QString line = context.value(ACT_PATH_LINE);
    // Both become arguments of the editor: "+LINE" is a command to vim, and a path that
    // begins with "-" or "+" would be read as an option.
    if (!file.startsWith(u'/') || !isNumber(line))
        return {};
    const QString column = context.value(ACT_PATH_COLUMN);
    auto offer = std::make_shared<OpenAtLineAction>(m_fileManager, m_editorSetting, m_runner);
    offer->setLabel(u"open at line"_s);
    offer->m_position = {file, line, isNumber(column) ? column : QString()};
    offer->m_editorCommand = m_editorSetting ? m_editorSetting() : QString();
    return {offer};
}

namespace {

// `words` with their program as it is started; nullopt (and `problem`) when refused.
std::optional<QStringList> withProgram(QStringList words, QString *problem)
{
    if (words.isEmpty())
        return words;
    const std::optional<QString> program = EditorCommand::program(words.first(), problem);
    if (!program)
        return std::nullopt;
    words.first() = *program;
    return words;
}

} // namespace

std::optional<QStringList> OpenAtLineAction::editorCommand(QString *problem) const
{
    const std::optional<EditorCommand::Choice> choice = EditorCommand::chosen(m_editorCommand);
    if (choice && choice->isTemplate)
        return withProgram(EditorCommand::fromTemplate(choice->command, m_position), problem);
    // The user's editor, else the desktop's default application when that is a known editor.
    const std::optional<QStringList> editor =
        choice ? std::optional(choice->command.words()) : MimeDefaultApplication::commandForFile(m_position.file, m_runner);
    const std::optional<QStringList> named = editor ? withProgram(*editor, problem) : std::nullopt;
    const std::optional<QStringList> command = named ? EditorCommand::forEditor(*named, m_position) : std::nullopt;
    return command ? withProgram(*command, problem) : std::nullopt;
}

void OpenAtLineAction::execute(const Context &, const Completion &done)
{
    QString problem;
    const std::optional<QStringList> command = editorCommand(&problem);
    if (!problem.isNull())
        return complete(done, Outcome::failure(problem));
    if (!command) {
        qCInfo(lcActions).noquote()
            << u"no editor that takes a line number is known; opening %1"_s.arg(m_position.file);
        if (!m_fileManager)
            return complete(done, Outcome::failure(
                QT_TRANSLATE_NOOP("glimra::Outcome", "there is no desktop to open it on")));
        return m_fileManager->openFile(m_position.file, done);
    }
    // In the file's folder, so that the editor's own file commands start next to it.
    const QString folder = dirname(m_position.file);
    m_runner.launch(command->first(), command->sliced(1), dir_exists(folder) ? folder : QString(), done);
}

} // namespace glimra
