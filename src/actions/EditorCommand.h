#pragma once

#include "actions/CommandTemplate.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace glimra {

/// A place in a file: an absolute path, a line number and, when known, a column (null when
/// not). Line and column are decimal digits, counted from 1 as compilers count them.
struct FilePosition
{
    QString file;
    QString line;
    QString column;
};

/// The command line (program first) that starts an editor at a place in a file. Nothing is
/// started here and no shell is involved: the file, line and column are separate arguments
/// or parts of one. Reads $DISPLAY, $TERMINAL and $PATH. Any thread.
class EditorCommand
{
public:
    /// `editor` (a program with its own options, such as "code --wait") with the arguments
    /// that bring it to `at`, when its way of taking a line is known: vi, vim, nvim, gvim,
    /// emacs, emacsclient, nano, VS Code, Kate, gedit, Geany and Sublime Text. Editors that
    /// need a terminal run inside one (terminalCommand()). nullopt for any other editor.
    static std::optional<QStringList> forEditor(const QStringList &editor, const FilePosition &at);

    /// The editor "open at line" starts for the "editor_command" `setting`, as far as it is
    /// known without asking the desktop: the setting when it holds "{file}", "{line}" or
    /// "{column}" (a template), else the first of the setting, $VISUAL and $EDITOR that
    /// forEditor() knows, or that names its program by a relative path (which program()
    /// then refuses rather than pass it over). nullopt when none is: the desktop's default
    /// application for the file is asked then.
    struct Choice
    {
        CommandTemplate command;
        bool isTemplate = false;
    };
    static std::optional<Choice> chosen(const QString &setting);
    /// The name its users know the editor that chosen() picks by ("Vim", "VS Code"), for
    /// titles; empty when none is picked or forEditor() does not know it.
    static QString chosenName(const QString &setting);

    /// The words of `command` with "{file}", "{line}" and "{column}" filled in ("{column}" is
    /// 1 when the position has no column).
    static QStringList fromTemplate(const CommandTemplate &command, const FilePosition &at);

    /// `command` run by "$TERMINAL -e", else "x-terminal-emulator -e" when that is on the
    /// PATH, else "xterm -e".
    static QStringList terminalCommand(const QStringList &command);

    /// The program a command's first word names, as it is started: an absolute path as it
    /// stands, a name as found in the absolute folders of $PATH (as it stands when it is
    /// not there). nullopt, with the reason in `problem`, for a relative path: the editor
    /// starts in the file's folder, where it would be looked up.
    static std::optional<QString> program(const QString &word, QString *problem);
};

} // namespace glimra
