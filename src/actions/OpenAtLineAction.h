#pragma once

#include "actions/EditorCommand.h"
#include "foundation/ProgramRunner.h"
#include "matching/ActionObject.h"
#include "platform/FileManager.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace glimra {

/// "open at line": opens ACT_PATH in the user's editor at ACT_PATH_LINE (and ACT_PATH_COLUMN
/// when present). The editor is the "editor_command" setting, else $VISUAL or $EDITOR when
/// its way of taking a line is known, else the desktop's default application for the file
/// when that is a known editor; otherwise the file is opened as "open" opens it. The editor
/// is started detached, without a shell: it is the user's program and runs on after us.
/// Main thread.
class OpenAtLineAction : public ActionObject
{
public:
    /// `editorSetting` answers the current "editor_command" setting (empty when unset); it is
    /// asked once per offer. The editor is launched, and xdg-mime asked, through `runner`
    /// (which must outlive the action and the offers it makes).
    OpenAtLineAction(std::shared_ptr<FileManager> fileManager,
                     std::function<QString()> editorSetting,
                     ProgramRunner &runner = ProgramRunner::standard());

    /// The command line that execute() starts (program first, and the editor's program, by
    /// EditorCommand::program()); nullopt when no editor that takes a line is known and the
    /// file is to be opened instead, or, with the reason in `problem`, when the editor is
    /// named by a relative path. Resolved when asked, since asking the desktop for its
    /// default application runs xdg-mime: a guess that offers this action does not pay for
    /// it, only running it does.
    std::optional<QStringList> editorCommand(QString *problem = nullptr) const;

    /// Offered when ACT_PATH is an absolute path and ACT_PATH_LINE a number; a column that
    /// is not a number is left out.
    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs an absolute ACT_PATH and a number in ACT_PATH_LINE"); }
    /// Starts editorCommand(), reporting a failure when it cannot be started; or opens the
    /// file through the file manager.
    void execute(const Context &executionContext, const Completion &done) override;

private:
    std::shared_ptr<FileManager> m_fileManager;
    std::function<QString()> m_editorSetting;
    FilePosition m_position;
    QString m_editorCommand;
    ProgramRunner &m_runner;
};

} // namespace glimra
