#include "results/ui/ActionListModel.h"

#include "app/AppDelegate.h"
#include "results/ui/PlainText.h"

namespace glimra {

ActionListModel::ActionListModel(const AppDelegate *delegate, QObject *parent)
    : QAbstractListModel(parent), m_delegate(delegate)
{
    connect(delegate, &AppDelegate::resultActionsChanged, this, &ActionListModel::reload);
    reload();
}

void ActionListModel::reload()
{
    beginResetModel();
    m_actions = m_delegate->resultActions();
    endResetModel();
}

int ActionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_actions.size());
}

QVariant ActionListModel::data(const QModelIndex &index, int role) const
{
    const ActionPtr action = actionAt(index.row());
    if (!action || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole)
        return action->label();
    if (role == Qt::ToolTipRole)
        return PlainText::toolTip(action->label());
    return {};
}

QVariant ActionListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // Rows are numbered from 1: the digit keys pick them.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QAbstractListModel::headerData(section, orientation, role);
}

ActionPtr ActionListModel::actionAt(int row) const
{
    return row >= 0 && row < m_actions.size() ? m_actions.at(row) : nullptr;
}

} // namespace glimra
