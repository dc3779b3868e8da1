#include "ui/ActionListModel.h"

#include "actions/EditorCommand.h"
#include "app/ActionTitle.h"
#include "app/SubsequenceMatch.h"
#include "platform/Settings.h"
#include "ui/PaletteIconEngine.h"
#include "ui/PlainText.h"
#include "ui/Problem_p.h"

#include <QHash>
#include <QIcon>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The desktop theme's icon of that name, else the one the program ships, in the palette's
// text colour; looked up once.
QIcon themeIcon(const QString &name)
{
    static QHash<QString, QIcon> icons;
    auto found = icons.constFind(name);
    if (found == icons.cend())
        found = icons.insert(name, QIcon::fromTheme(name, PaletteIconEngine::icon(QIcon(u":/icons/%1.svg"_s.arg(name)))));
    return *found;
}

} // namespace

ActionListModel::ActionListModel(QObject *parent) : QAbstractTableModel(parent) {}

void ActionListModel::setActions(const ActionList &actions, const Context &matched, const Settings &settings)
{
    beginResetModel();
    m_offered = actions;
    m_actions = m_offered;
    const QString editor = EditorCommand::chosenName(settings.stringForKey(u"editor_command"_s));
    m_shown.clear();
    for (const ActionPtr &action : std::as_const(m_offered))
        m_shown.insert(action.get(), {ActionTitle::title(*action, matched, editor),
                                      ActionTitle::iconName(action->name(), action->label(), matched)});
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
    const std::optional<Status> status =
        m_status.contains(action.get()) ? std::optional(m_status.value(action.get())) : std::nullopt;
    const Shown shown = m_shown.value(action.get());
    const QString text = index.column() == LabelColumn ? shown.title : (status ? status->text : detailOf(*action, shown));
    if (role == Qt::DecorationRole && index.column() == LabelColumn)
        return themeIcon(shown.icon);
    // A failure is marked by the desktop's warning icon: the theme's colours stay readable.
    if (role == Qt::DecorationRole && index.column() == DetailColumn && status && status->failed)
        return problemIcon();
    // What an action acts on (the command "run" runs) shows every character it holds; a
    // status is ours.
    const bool detail = index.column() == DetailColumn && !status;
    if (role == Qt::DisplayRole)
        return detail ? PlainText::wrappedWhole(text) : text;
    if (role == Qt::ToolTipRole)
        return PlainText::toolTip(detail ? PlainText::wrappedWhole(text) : text);
    // A label stays at the top of a tall row, where it is seen with the start of its detail.
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    return {};
}

QString ActionListModel::detailOf(const ActionObject &action, const Shown &shown)
{
    // A value the title quotes whole is not said twice; a command to run always shows whole.
    const QString detail = action.detail();
    if (action.label() != u"run"_s && !detail.contains(u'\n') && shown.title.endsWith(detail))
        return {};
    return detail;
}

void ActionListModel::setFilter(const QString &typed)
{
    QList<QStringList> titles;
    for (const ActionPtr &action : std::as_const(m_offered))
        titles.append({m_shown.value(action.get()).title});
    beginResetModel();
    m_actions.clear();
    for (const int row : SubsequenceMatch::ranked(typed, titles))
        m_actions.append(m_offered.at(row));
    endResetModel();
}

QString ActionListModel::titleAt(int row) const
{
    const ActionPtr action = actionAt(row);
    return action ? m_shown.value(action.get()).title : QString();
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
    setStatus(action, Status{tr("running…"), false});
}

void ActionListModel::ended(const ActionPtr &action, const Outcome &outcome)
{
    setStatus(action, outcome.ok ? std::nullopt
                                 : std::optional(Status{tr("failed: %1").arg(outcome.messageShown()), true}));
}

void ActionListModel::setStatus(const ActionPtr &action, const std::optional<Status> &status)
{
    const qsizetype row = m_actions.indexOf(action);
    if (row < 0)
        return;
    if (!status)
        m_status.remove(action.get());
    else
        m_status.insert(action.get(), *status);
    emit dataChanged(index(int(row), DetailColumn), index(int(row), DetailColumn));
}

} // namespace glimra
