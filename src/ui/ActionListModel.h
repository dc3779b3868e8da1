#pragma once

#include "foundation/Completion.h"
#include "matching/ActionObject.h"
#include "matching/Context.h"

#include <QAbstractTableModel>
#include <QHash>

#include <optional>

namespace glimra {

class Settings;

/// The controller's resultActions as a table model: one row per offered action, its icon
/// and title (ActionTitle; the label stays the action's identity),
/// then what it acts on (the command "run" runs, the value "copy" copies) in full, or how
/// it ended when it was run and failed. Shows the offers of the result it is given. Main thread only.
class ActionListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { LabelColumn, DetailColumn, ColumnCount };

    explicit ActionListModel(QObject *parent = nullptr);

    /// Shows `actions`, each row afresh (nothing runs on them yet), titled for what they act
    /// on in `matched`; `settings` may name the editor that opens at a line.
    void setActions(const ActionList &actions, const Context &matched, const Settings &settings);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Shows only the actions whose titles hold `typed` (SubsequenceMatch), best first; all
    /// of them, as offered, for nothing typed. A new guess shows all.
    void setFilter(const QString &typed);
    /// The title the row of `row` shows (what the action does, and to what).
    QString titleAt(int row) const;
    /// The action of `row`; null for a row that does not exist.
    ActionPtr actionAt(int row) const;
    /// `action` runs now: its row says so until ended() says how it ended.
    void started(const ActionPtr &action);
    void ended(const ActionPtr &action, const Outcome &outcome);

private:
    // What a row shows for its action: its title and the name of its icon.
    struct Shown
    {
        QString title;
        QString icon;
    };

    // What a running or failed action's row says in place of its detail.
    struct Status
    {
        QString text;
        bool failed = false;
    };

    static QString detailOf(const ActionObject &action, const Shown &shown);
    void setStatus(const ActionPtr &action, const std::optional<Status> &status);

    ActionList m_offered; // all of them, as offered
    ActionList m_actions; // the rows shown
    QHash<const ActionObject *, Shown> m_shown;
    QHash<const ActionObject *, Status> m_status;
};

} // namespace glimra
