#include "ui/UserEditor.h"

#include "actions/CommandTemplate.h"
#include "actions/EditorCommand.h"
#include "platform/FileManager.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const char *const NoEditor = QT_TRANSLATE_NOOP("glimra::UserEditor", "there is no editor: set VISUAL or EDITOR");

} // namespace

QStringList UserEditor::commandFor(const QString &file)
{
    for (const char *variable : {"VISUAL", "EDITOR"}) {
        const std::optional<CommandTemplate> editor =
            CommandTemplate::parse(qEnvironmentVariable(variable));
        if (!editor || editor->words().isEmpty())
            continue;
        // An editor whose way of taking a line is known comes with its terminal if it needs
        // one; any other $EDITOR is a terminal program by convention.
        if (const std::optional<QStringList> known = EditorCommand::forEditor(editor->words(), {file, u"1"_s, {}}))
            return *known;
        const QStringList command = editor->words() + QStringList{file};
        return qstrcmp(variable, "EDITOR") == 0 ? EditorCommand::terminalCommand(command) : command;
    }
    return {};
}

void UserEditor::open(const QString &file, FileManager *fileManager, const Completion &done,
                      ProgramRunner &runner)
{
    const QStringList command = commandFor(file);
    if (!command.isEmpty())
        return runner.launch(command.first(), command.mid(1), {}, done);
    if (!fileManager)
        return complete(done, Outcome::failure(QString::fromUtf8(NoEditor)));
    fileManager->openFile(file, done);
}

QString UserEditor::shownMessage(const QString &message)
{
    return message == QLatin1StringView(NoEditor) ? QCoreApplication::translate("glimra::UserEditor", NoEditor)
                                                  : message;
}

} // namespace glimra
