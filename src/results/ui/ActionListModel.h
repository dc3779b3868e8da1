#pragma once

#include "matching/ActionObject.h"

#include <QAbstractListModel>

namespace glimra {

class AppDelegate;

/// The controller's resultActions as a list model: one row per offered action, showing
/// its label. Follows resultActionsChanged. Main thread only.
class ActionListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ActionListModel(const AppDelegate *delegate, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The action of `row`; null for a row that does not exist.
    ActionPtr actionAt(int row) const;

private:
    void reload();

    const AppDelegate *m_delegate;
    ActionList m_actions;
};

} // namespace glimra
