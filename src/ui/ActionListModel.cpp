#include "ui/ActionListModel.h"

#include "ui/PlainText.h"

#include <QColor>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString Running = QStringLiteral("running…");

} // namespace

ActionListModel::ActionListModel(QObject *parent) : QAbstractTableModel(parent) {}

void ActionListModel::setActions(const ActionList &actions)
{
    beginResetModel();
    m_actions = actions;
    m_status.clear();
    endResetModel();
}

int ActionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_actions.size());
}

int ActionListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ActionListModel::data(const QModelIndex &index, int role) const
{
    const ActionPtr action = actionAt(index.row());
    if (!action)
        return {};
    const QString status = m_status.value(action.get());
    const QString text = index.column() == LabelColumn ? action->label()
                                                       : (status.isNull() ? action->detail() : status);
    // What an action acts on (the command "run" runs) shows every character it holds; a
    // status is ours.
    const bool detail = index.column() == DetailColumn && status.isNull();
    if (role == Qt::DisplayRole)
        return detail ? PlainText::wrappedWhole(text) : text;
    if (role == Qt::ToolTipRole)
        return PlainText::toolTip(detail ? PlainText::wrappedWhole(text) : text);
    // A label stays at the top of a tall row, where it is seen with the start of its detail.
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    if (role == Qt::ForegroundRole && index.column() == DetailColumn && !status.isNull() && status != Running)
        return QColor(0xb0, 0x1c, 0x1c);
    return {};
}

QVariant ActionListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // Rows are numbered from 1: the digit keys pick them.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QAbstractTableModel::headerData(section, orientation, role);
}

ActionPtr ActionListModel::actionAt(int row) const
{
    return row >= 0 && row < m_actions.size() ? m_actions.at(row) : nullptr;
}

void ActionListModel::started(const ActionPtr &action)
{
    setStatus(action, Running);
}

void ActionListModel::ended(const ActionPtr &action, const Outcome &outcome)
{
    setStatus(action, outcome.ok ? QString() : tr("failed: %1").arg(outcome.message));
}

void ActionListModel::setStatus(const ActionPtr &action, const QString &status)
{
    const qsizetype row = m_actions.indexOf(action);
    if (row < 0)
        return;
    if (status.isNull())
        m_status.remove(action.get());
    else
        m_status.insert(action.get(), status);
    emit dataChanged(index(int(row), DetailColumn), index(int(row), DetailColumn));
}

} // namespace glimra
