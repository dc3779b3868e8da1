#pragma once

#include <QStyledItemDelegate>

#include <utility>

namespace glimra {

/// The editor of a rule's key: an editable list of the keys the program knows, each with
/// what it feeds ("ACT_URL — a web address: Open, Copy"); any other key may be typed. Only
/// the key itself is written to the cell. Main thread only.
class RuleKeyDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// The keys a rule may usefully set, each with what it feeds, in the user's words.
    static QList<std::pair<QString, QString>> knownKeys();

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

} // namespace glimra
