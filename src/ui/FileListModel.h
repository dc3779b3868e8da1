#pragma once

#include "matching/FileObject.h"

#include <QAbstractTableModel>
#include <QFileIconProvider>
#include <QList>

namespace glimra {


/// The files of a result as a table: the entry's icon and name, and its full path
/// (or URL). Files that arrive late are appended as they come;
/// rows already shown stay where they are. Drags carry ResultListController's data.
/// Main thread only.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn, PathColumn, ColumnCount };

    explicit FileListModel(QObject *parent = nullptr);

    /// Shows `files`: a longer list that begins with the rows shown only adds rows.
    void setFiles(const QList<FileObject> &files);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;

    /// Shows only the entries whose title or path holds `typed` (SubsequenceMatch), best
    /// first; all of them for nothing typed. A new guess shows all.
    void setFilter(const QString &typed);
    /// The entry of `row`; nullptr for a row that does not exist.
    const FileObject *fileAt(int row) const;
    /// The entries of the rows `indexes` name, in row order, each once.
    QList<FileObject> filesAt(const QModelIndexList &indexes) const;

private:
    /// The entry's name, with the line (and column) a trace named.
    static QString titleOf(const FileObject &file);
    QIcon iconFor(const FileObject &file) const;

    QList<FileObject> m_all;   // every entry, as found
    QList<FileObject> m_files; // the rows shown
    QString m_filter;
    QFileIconProvider m_icons;
};

} // namespace glimra
