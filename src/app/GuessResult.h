#pragma once

#include "app/GuessOutcome.h"
#include "matching/ActionObject.h"
#include "matching/Context.h"
#include "matching/Explanation.h"
#include "matching/FileObject.h"

#include <QList>
#include <QRect>
#include <QStringList>

#include <memory>

namespace glimra {

/// What one guess found, as a value: the selection it looked at, what the matchers made of
/// it, the offers in the order the user sees them, the files, why (when the guess was
/// explained) and how the guess ended. Files that a desktop search finds later arrive as
/// updates of the value with the same `guess`. The panel, the notifications, the session
/// bus and the command line all read it as they are given it.
struct GuessResult
{
    /// Which tab a result asks to be shown on, as the panel's tab transformer reads it.
    enum Tab : qint64 { NoTab = 0, ActionsTab = 1, FilesTab = 2 };

    /// The identity of the guess that made it (0: no guess yet).
    quint64 guess = 0;
    Context selectionContext;
    Context matchedContext;
    /// The offered actions, in the order the user sees them.
    ActionList actions;
    QList<FileObject> files;
    /// Why the guess came out as it did; null when it was not explained.
    std::shared_ptr<const Explanation> explanation;
    /// How the guess that made it ended (matched, searching, where the text was cut).
    GuessOutcome outcome;
    /// The tab the result is best shown on: 0 when a later guess stopped before it had
    /// anything to show.
    qint64 selectedTab = NoTab;
    /// The request asked for the panel to be shown at the pointer; it marks at most one
    /// showing of the panel, so an update of the value (late files) no longer carries it.
    bool followPointer = false;
    /// Where the window in front was when the request came, where the desktop tells it
    /// (a Wayland session): a request's panel opens on its screen when the pointer's
    /// position is unknown. Null elsewhere; carried with followPointer.
    QRect frontWindow;

    bool matched() const { return !matchedContext.isEmpty(); }
    /// The matched context with the selection context laid over it: what an action runs with.
    Context executionContext() const;
    /// The paths of the files that have one, in order.
    QStringList filePaths() const;
};

} // namespace glimra
