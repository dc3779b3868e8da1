#include "ui/RuleKeyDelegate.h"

#include "matching/Context.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr int KeyRole = Qt::UserRole;

} // namespace

QList<std::pair<QString, QString>> RuleKeyDelegate::knownKeys()
{
    return {
        {ACT_URL, tr("a web address: Open, Copy")},
        {ACT_PATH, tr("a file or folder: Open, Show in file manager, Copy")},
        {ACT_PATH_LINE, tr("the line of that file: Open at line")},
        {ACT_PATHS, tr("several files, one a line: Open")},
        {ACT_WORDS, tr("words to look up: Web search, Find files")},
        {ACT_TEXT, tr("a text: Paste, Copy")},
        {ACT_COMMAND, tr("a command: Run")},
        {CTX_DIR, tr("the folder relative paths are found in")},
    };
}

QWidget *RuleKeyDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const auto &[key, feeds] : knownKeys()) {
        combo->addItem(tr("%1 — %2").arg(key, feeds), key);
        combo->setItemData(combo->count() - 1, feeds, Qt::ToolTipRole);
    }
    // The list is as wide as its widest entry, whatever the column's width: nothing is cut.
    combo->view()->setTextElideMode(Qt::ElideNone);
    combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 2 * combo->view()->frameWidth() + 24);
    // A key chosen from the list is shown as the key alone, as it is stored.
    connect(combo, &QComboBox::activated, combo,
            [combo](int row) { combo->setEditText(combo->itemData(row, KeyRole).toString()); });
    return combo;
}

void RuleKeyDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    const QString key = index.data(Qt::EditRole).toString();
    combo->setCurrentIndex(combo->findData(key, KeyRole));
    combo->setEditText(key);
}

void RuleKeyDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    QString key = combo->currentText().trimmed();
    if (const int row = combo->findText(key); row >= 0)
        key = combo->itemData(row, KeyRole).toString();
    model->setData(index, key, Qt::EditRole);
}

} // namespace glimra
