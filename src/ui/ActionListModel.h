#pragma once

#include "foundation/Completion.h"
#include "matching/ActionObject.h"

#include <QAbstractTableModel>
#include <QHash>

namespace glimra {


/// The controller's resultActions as a table model: one row per offered action, its label,
/// then what it acts on (the command "run" runs, the value "copy" copies) in full, or how
/// it ended when it was run and failed. Shows the offers of the result it is given. Main thread only.
class ActionListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { LabelColumn, DetailColumn, ColumnCount };

    explicit ActionListModel(QObject *parent = nullptr);

    /// Shows `actions`, each row afresh (nothing runs on them yet).
    void setActions(const ActionList &actions);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The action of `row`; null for a row that does not exist.
    ActionPtr actionAt(int row) const;
    /// `action` runs now: its row says so until ended() says how it ended.
    void started(const ActionPtr &action);
    void ended(const ActionPtr &action, const Outcome &outcome);

private:
    void setStatus(const ActionPtr &action, const QString &status);

    ActionList m_actions;
    QHash<const ActionObject *, QString> m_status;
};

} // namespace glimra
