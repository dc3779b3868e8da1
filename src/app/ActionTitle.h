#pragma once

#include "matching/Context.h"

#include <QCoreApplication>
#include <QString>

namespace glimra {

class ActionObject;

/// The title the results panel shows for an offered action: what happens, and to what, in
/// sentence case ("Open main.c at line 42 in Vim", "Search the web for “serendipity”",
/// "Paste 14"). An action it does not know (a plug-in's) keeps its label. The label itself
/// stays the action's identity (`--run`, scripts, `--json`): a title is only shown. Any
/// thread.
class ActionTitle
{
    Q_DECLARE_TR_FUNCTIONS(ActionTitle)
public:
    /// How much of a value a title quotes before it is cut with "…".
    static constexpr qsizetype Quoted = 40;
    /// The longest command a title quotes; a longer one is only shown beside it, whole.
    static constexpr qsizetype ShortCommand = 20;

    /// The title of a built-in action labelled `label` with `detail` (what it acts on), for
    /// the guess that found `matched`; `editor` is the editor "open at line" starts, when it
    /// is known without asking the desktop (EditorCommand::chosenName()), or the engine "search" asks.
    static QString title(const QString &label, const QString &detail, const Context &matched,
                         const QString &editor = {});
    static QString title(const ActionObject &action, const Context &matched, const QString &editor = {});

    /// The freedesktop icon name of an action labelled `label` of the class `className`
    /// ("document-open", "edit-copy"…); "system-run" for a plug-in's.
    static QString iconName(const QString &className, const QString &label, const Context &matched);
    /// The names iconName() answers, each of which the program ships a picture of for
    /// desktops without an icon theme.
    static QStringList iconNames();

    /// `text` on one line, cut to `length` characters with "…" where it was cut.
    static QString shortened(const QString &text, qsizetype length = Quoted);

    /// Whether the action of `className` is built in (it has a title; others keep their label).
    static bool isBuiltIn(const QString &className);

private:
    static QString fileName(const Context &matched);
};

} // namespace glimra
