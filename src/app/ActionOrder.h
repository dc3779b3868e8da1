#pragma once

#include "matching/ActionObject.h"
#include "matching/Context.h"

#include <QJsonObject>
#include <QString>

namespace glimra {

/// The order in which the panel and the command line offer the actions of a guess.
///
/// Three rules, each breaking the ties of the one before: the actions this user picked more
/// often for the same kind of selection (file, files, url, text, calculation, command, trace)
/// come first; then the likely action of the kind ("open at line" for a trace, paste and copy of a calculation's result);
/// then the chain's order.
///
/// The counts live in $XDG_STATE_HOME/glimra/action-order.json, one object per kind. An
/// action is keyed by a digest of its label, so that no selection text (which a plug-in's label
/// may hold) ever reaches the disk. Each pick weighs older picks of its kind down by Decay, so
/// a habit that changes is followed. Written atomically under a lock file as the settings are;
/// a file that cannot be read counts as empty, and only a regular file is ever replaced.
class ActionOrder
{
public:
    /// What every earlier pick of a kind weighs after one more pick.
    static constexpr double Decay = 0.9;
    /// Lighter picks are forgotten, so the file stays small.
    static constexpr double Forgotten = 0.05;

    /// The state file under the XDG state home as it is at each use; `filePath` for tests.
    ActionOrder() = default;
    explicit ActionOrder(QString filePath) : m_filePath(std::move(filePath)) {}

    static QString defaultFilePath();
    QString filePath() const;

    /// The kind of selection a matched context holds; null when nothing matched.
    static QString kindOf(const Context &matched);

    /// `offered` in the order the user sees: by the learned counts of `kind` (unless
    /// `learned` is false), then the kind's likely action, then as offered.
    ActionList ordered(const QString &kind, const ActionList &offered, bool learned = true) const;

    /// Counts one pick of the action labelled `label` for `kind`; false with the reason when
    /// the file could not be written (the order is then what it was).
    bool record(const QString &kind, const QString &label, QString *error = nullptr) const;
    /// Forgets every pick: the chain's order holds again.
    bool forget(QString *error = nullptr) const;

private:
    static QString keyOf(const QString &label);
    /// Every kind's counts; none when the file is missing, unreadable or no counts.
    QJsonObject read() const;

    QString m_filePath;
};

} // namespace glimra
