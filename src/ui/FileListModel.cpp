#include "ui/FileListModel.h"

#include "app/SubsequenceMatch.h"
#include "ui/PlainText.h"
#include "ui/ResultListController.h"

#include <QFileInfo>
#include <QMimeData>
#include <QStyle>
#include <QApplication>

#include <set>

using namespace Qt::StringLiterals;

namespace glimra {

FileListModel::FileListModel(QObject *parent) : QAbstractTableModel(parent) {}

void FileListModel::setFiles(const QList<FileObject> &files)
{
    // Late files are appended to the list: only the new rows are announced, so the row
    // the user is on stays selected. A filtered list is ranked again.
    const bool appended = files.size() > m_all.size()
        && std::equal(m_all.cbegin(), m_all.cend(), files.cbegin());
    if (appended && !m_filter.isEmpty()) {
        m_all = files;
        setFilter(m_filter);
        return;
    }
    if (!appended)
        m_filter.clear();
    m_all = files;
    if (appended) {
        beginInsertRows({}, int(m_files.size()), int(files.size()) - 1);
        m_files = files;
        endInsertRows();
        return;
    }
    beginResetModel();
    m_files = files;
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_files.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QIcon FileListModel::iconFor(const FileObject &file) const
{
    if (!file.filePath().isNull())
        return m_icons.icon(QFileInfo(file.filePath()));
    return QIcon::fromTheme(file.icon(), QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon));
}

QString FileListModel::titleOf(const FileObject &file)
{
    const QString line = file.lineNumber();
    const QString column = file.column();
    if (line.isEmpty())
        return file.niceTitle();
    return column.isEmpty() ? tr("%1, line %2").arg(file.niceTitle(), line)
                            : tr("%1, line %2, column %3").arg(file.niceTitle(), line, column);
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    const FileObject *file = fileAt(index.row());
    if (!file)
        return {};
    if (role == Qt::ToolTipRole)
        return PlainText::toolTip(file->nicePath());
    if (role == Qt::DisplayRole)
        return index.column() == NameColumn ? titleOf(*file) : file->nicePath();
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return iconFor(*file);
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1; // the digit keys pick rows
    return section == NameColumn ? tr("Name") : tr("Location");
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList FileListModel::mimeTypes() const
{
    return {u"text/uri-list"_s, u"text/plain"_s};
}

QMimeData *FileListModel::mimeData(const QModelIndexList &indexes) const
{
    return ResultListController::dragData(filesAt(indexes));
}

void FileListModel::setFilter(const QString &typed)
{
    m_filter = typed;
    QList<QStringList> texts;
    for (const FileObject &file : std::as_const(m_all))
        texts.append({titleOf(file), file.nicePath()});
    beginResetModel();
    m_files.clear();
    for (const int row : SubsequenceMatch::ranked(typed, texts))
        m_files.append(m_all.at(row));
    endResetModel();
}

const FileObject *FileListModel::fileAt(int row) const
{
    return row >= 0 && row < m_files.size() ? &m_files.at(row) : nullptr;
}

QList<FileObject> FileListModel::filesAt(const QModelIndexList &indexes) const
{
    std::set<int> rows;
    for (const QModelIndex &index : indexes)
        rows.insert(index.row());
    QList<FileObject> files;
    for (const int row : rows) {
        if (const FileObject *file = fileAt(row))
            files.append(*file);
    }
    return files;
}

} // namespace glimra
