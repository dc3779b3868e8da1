#include "actions/EditorCommand.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// How an editor is told where to go.
enum class Syntax {
    PlusLine, // +LINE FILE
    Vim,      // +LINE FILE, or +call cursor(LINE,COLUMN) FILE
    Emacs,    // +LINE:COLUMN FILE
    Nano,     // +LINE,COLUMN FILE
    Gedit,    // +LINE:COLUMN FILE
    Geany,    // +LINE --column COLUMN-FROM-0 FILE
    Kate,     // --line LINE --column COLUMN FILE
    VSCode,   // --goto FILE:LINE:COLUMN
    Sublime,  // FILE:LINE:COLUMN
};

enum class Terminal { Never, Always, WithoutDisplay };

struct KnownEditor
{
    const char16_t *program;
    Syntax syntax;
    Terminal terminal;
    const char16_t *name; // as its users know it
};

// Debian installs vim under several names; vim.tiny is built without the functions that
// "+call cursor()" needs, so it gets the line alone, like vi (which is often vim.tiny).
constexpr KnownEditor KnownEditors[] = {
    {u"vi", Syntax::PlusLine, Terminal::Always, u"Vi"},
    {u"vim.tiny", Syntax::PlusLine, Terminal::Always, u"Vim"},
    {u"vim", Syntax::Vim, Terminal::Always, u"Vim"},
    {u"vim.basic", Syntax::Vim, Terminal::Always, u"Vim"},
    {u"vim.nox", Syntax::Vim, Terminal::Always, u"Vim"},
    {u"vim.gtk3", Syntax::Vim, Terminal::Always, u"Vim"},
    {u"nvim", Syntax::Vim, Terminal::Always, u"Neovim"},
    {u"gvim", Syntax::Vim, Terminal::Never, u"Vim"},
    {u"emacs", Syntax::Emacs, Terminal::WithoutDisplay, u"Emacs"},
    {u"emacs-gtk", Syntax::Emacs, Terminal::WithoutDisplay, u"Emacs"},
    {u"emacs-lucid", Syntax::Emacs, Terminal::WithoutDisplay, u"Emacs"},
    {u"emacs-nox", Syntax::Emacs, Terminal::Always, u"Emacs"},
    {u"emacsclient", Syntax::Emacs, Terminal::Never, u"Emacs"},
    {u"nano", Syntax::Nano, Terminal::Always, u"nano"},
    {u"gedit", Syntax::Gedit, Terminal::Never, u"gedit"},
    {u"geany", Syntax::Geany, Terminal::Never, u"Geany"},
    {u"kate", Syntax::Kate, Terminal::Never, u"Kate"},
    {u"code", Syntax::VSCode, Terminal::Never, u"VS Code"},
    {u"codium", Syntax::VSCode, Terminal::Never, u"VSCodium"},
    {u"code-oss", Syntax::VSCode, Terminal::Never, u"Code - OSS"},
    {u"subl", Syntax::Sublime, Terminal::Never, u"Sublime Text"},
    {u"sublime_text", Syntax::Sublime, Terminal::Never, u"Sublime Text"},
};

// `separator` and the column, or nothing when there is no column.
QString columnSuffix(QChar separator, const FilePosition &at)
{
    return at.column.isEmpty() ? QString() : separator + at.column;
}

QStringList positionArguments(Syntax syntax, const FilePosition &at)
{
    const QString plusLine = u'+' + at.line;
    const bool hasColumn = !at.column.isEmpty();
    switch (syntax) {
    case Syntax::PlusLine:
        return {plusLine, at.file};
    case Syntax::Vim:
        return {hasColumn ? u"+call cursor(%1,%2)"_s.arg(at.line, at.column) : plusLine, at.file};
    case Syntax::Emacs:
    case Syntax::Gedit:
        return {plusLine + columnSuffix(u':', at), at.file};
    case Syntax::Nano:
        return {plusLine + columnSuffix(u',', at), at.file};
    case Syntax::Geany: // counts columns from 0
        if (hasColumn)
            return {plusLine, u"--column"_s, QString::number(std::max(0, at.column.toInt() - 1)),
                    at.file};
        return {plusLine, at.file};
    case Syntax::Kate:
        if (hasColumn)
            return {u"--line"_s, at.line, u"--column"_s, at.column, at.file};
        return {u"--line"_s, at.line, at.file};
    case Syntax::VSCode:
        return {u"--goto"_s, at.file + u':' + at.line + columnSuffix(u':', at)};
    case Syntax::Sublime:
        return {at.file + u':' + at.line + columnSuffix(u':', at)};
    }
    return {};
}

bool needsTerminal(const KnownEditor &known, const QStringList &editor)
{
    if (known.terminal == Terminal::Always)
        return true;
    // emacs -nw, emacsclient -t: a terminal frame whatever the display.
    static const QStringList terminalOptions{u"-nw"_s, u"-t"_s, u"--tty"_s,
                                             u"--no-window-system"_s};
    const bool terminalFrame = known.syntax == Syntax::Emacs
        && std::any_of(editor.begin() + 1, editor.end(),
                       [](const QString &word) { return terminalOptions.contains(word); });
    return terminalFrame
        || (known.terminal == Terminal::WithoutDisplay && qEnvironmentVariableIsEmpty("DISPLAY"));
}

// The editor a command's first word starts, when its way of taking a line is known.
const KnownEditor *knownEditor(const QString &word)
{
    const QString program = basename(word);
    const auto known =
        std::find_if(std::begin(KnownEditors), std::end(KnownEditors),
                     [&](const KnownEditor &e) { return program == QStringView(e.program); });
    return known == std::end(KnownEditors) ? nullptr : known;
}

} // namespace

std::optional<EditorCommand::Choice> EditorCommand::chosen(const QString &setting)
{
    const std::optional<CommandTemplate> words = CommandTemplate::parse(setting);
    if (!words) {
        qCInfo(lcActions).noquote() << u"editor_command is passed over: a quote in it is not closed"_s;
    } else if (words->contains(u"{file}"_s) || words->contains(u"{line}"_s) || words->contains(u"{column}"_s)) {
        return Choice{*words, true};
    }
    // A setting without placeholders names an editor, as $VISUAL and $EDITOR do.
    for (const QString &editor : {setting, qEnvironmentVariable("VISUAL"), qEnvironmentVariable("EDITOR")}) {
        const std::optional<CommandTemplate> named = CommandTemplate::parse(editor);
        if (!named || named->isEmpty())
            continue;
        const QString program = named->words().constFirst();
        // A relative path is chosen whatever it names, so that it is refused, not passed over.
        if (knownEditor(program) || (program.contains(u'/') && !program.startsWith(u'/')))
            return Choice{*named, false};
    }
    return std::nullopt;
}

QString EditorCommand::chosenName(const QString &setting)
{
    const std::optional<Choice> choice = chosen(setting);
    const KnownEditor *known = choice ? knownEditor(choice->command.words().value(0)) : nullptr;
    return known ? QString::fromUtf16(known->name) : QString();
}

std::optional<QStringList> EditorCommand::forEditor(const QStringList &editor,
                                                    const FilePosition &at)
{
    const KnownEditor *known = editor.isEmpty() ? nullptr : knownEditor(editor.first());
    if (!known)
        return std::nullopt;
    const QStringList command = editor + positionArguments(known->syntax, at);
    return needsTerminal(*known, editor) ? terminalCommand(command) : command;
}

QStringList EditorCommand::fromTemplate(const CommandTemplate &command, const FilePosition &at)
{
    return command.expanded({{u"{file}"_s, at.file},
                             {u"{line}"_s, at.line},
                             {u"{column}"_s, at.column.isEmpty() ? u"1"_s : at.column}});
}

QStringList EditorCommand::terminalCommand(const QStringList &command)
{
    const std::optional<CommandTemplate> terminal =
        CommandTemplate::parse(qEnvironmentVariable("TERMINAL"));
    QStringList words = terminal ? terminal->words() : QStringList();
    if (words.isEmpty()) {
        const bool debianDefault =
            !QStandardPaths::findExecutable(u"x-terminal-emulator"_s).isEmpty();
        words = {debianDefault ? u"x-terminal-emulator"_s : u"xterm"_s};
    }
    return words + QStringList{u"-e"_s} + command;
}

std::optional<QString> EditorCommand::program(const QString &word, QString *problem)
{
    if (word.startsWith(u'/'))
        return word;
    if (word.contains(u'/')) {
        if (problem) {
            *problem = u"the editor \"%1\" is named by a relative path; name it by its absolute path, "
                       u"or by a name found on PATH"_s.arg(word);
        }
        return std::nullopt;
    }
    // Not execvp's search: an empty or relative entry of $PATH would look in the folder the
    // editor starts in.
    for (const QString &folder : qEnvironmentVariable("PATH").split(u':')) {
        if (!folder.startsWith(u'/'))
            continue;
        const QFileInfo candidate(QDir(folder).filePath(word));
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.filePath();
    }
    return word;
}

} // namespace glimra
