#pragma once

#include "matching/FileObject.h"

#include <QPointer>
#include <QTableView>

#include <functional>
#include <memory>

class QMenu;

namespace glimra {

class FileListModel;
class FileManager;

/// The file table of the results panel: icon, name and full path of each entry, numbered
/// from 1; entries can be dragged out. Its context menu holds Open, Reveal and Copy and,
/// for a folder entry, first the folder's own submenu: up to sixteen of its entries
/// (then a disabled "..."), each opening with its default application. The submenu is
/// built for the entry that was selected when the click came, and removed again on the
/// next menu. Main thread only.
class FileTableView : public QTableView
{
    Q_OBJECT
public:
    static constexpr int MaximumFolderEntries = 16;

    /// `fileManager` opens and reveals; it is shared, not owned alone.
    FileTableView(FileListModel *model, std::shared_ptr<FileManager> fileManager,
                  QWidget *parent = nullptr);


    /// The context menu for a click at `position` (viewport coordinates).
    QMenu *menuForEvent(const QPoint &position);
    /// The folder's submenu, as the menu entry that holds it.
    QAction *buildMenuFromDir(const QString &folder);
    /// Opens the path an entry of a folder submenu carries.
    void openFileFromMenu(QAction *item);

    /// The selected entries, in row order.
    QList<FileObject> selectedFiles() const;
    /// Opens, reveals or copies entries, as the menu's items do.
    /// Opens each entry; one with a line (a frame of a trace) through `openAtLine`.
    void openFiles(const QList<FileObject> &files);
    void setOpenAtLine(std::function<void(const FileObject &)> openAtLine) { m_openAtLine = std::move(openAtLine); }
    void revealFiles(const QList<FileObject> &files);
    void copyFiles(const QList<FileObject> &files);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    FileListModel *m_model;
    std::shared_ptr<FileManager> m_fileManager;
    std::function<void(const FileObject &)> m_openAtLine;
    QMenu *m_menu;
    QPointer<QAction> m_lastMenuItem;
    QPointer<QAction> m_lastMenuItemS;
    // What was selected before a right click selected the clicked row.
    std::optional<FileObject> m_selectedBeforeClick;
};

} // namespace glimra
