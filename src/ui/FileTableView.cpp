#include "ui/FileTableView.h"

#include "foundation/Paths.h"
#include "foundation/Url.h"
#include "platform/FileManager.h"
#include "ui/FileListModel.h"
#include "ui/PlainText.h"
#include "ui/ResultListController.h"
#include "ui/ResultTable_p.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace glimra {

FileTableView::FileTableView(FileListModel *model, std::shared_ptr<FileManager> fileManager,
                             QWidget *parent)
    : QTableView(parent), m_model(model), m_fileManager(std::move(fileManager)), m_menu(new QMenu(this))
{
    setModel(model);
    setUpResultTable(*this);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(16, 16));
    horizontalHeader()->setSectionResizeMode(FileListModel::NameColumn, QHeaderView::ResizeToContents);

    // The menu the table hands out every time; a folder's submenu comes and goes in it.
    m_menu->setToolTipsVisible(true);
    m_menu->addAction(tr("Open"), this, [this] { openFiles(selectedFiles()); });
    m_menu->addAction(tr("Reveal"), this, [this] { revealFiles(selectedFiles()); });
    m_menu->addAction(tr("Copy"), this, [this] { copyFiles(selectedFiles()); });
}

QList<FileObject> FileTableView::selectedFiles() const
{
    return m_model->filesAt(selectionModel() ? selectionModel()->selectedRows() : QModelIndexList());
}

void FileTableView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        const QList<FileObject> selected = selectedFiles();
        m_selectedBeforeClick = selected.isEmpty() ? std::nullopt
                                                   : std::optional<FileObject>(selected.first());
    }
    QTableView::mousePressEvent(event);
}

void FileTableView::contextMenuEvent(QContextMenuEvent *event)
{
    menuForEvent(event->pos())->popup(event->globalPos());
}

QMenu *FileTableView::menuForEvent(const QPoint &)
{
    std::optional<FileObject> entry = std::exchange(m_selectedBeforeClick, std::nullopt);
    if (!entry) {
        const QList<FileObject> selected = selectedFiles();
        if (!selected.isEmpty())
            entry = selected.first();
    }
    if (m_lastMenuItem) {
        m_menu->removeAction(m_lastMenuItem);
        delete m_lastMenuItem->menu();
    }
    if (m_lastMenuItemS) {
        m_menu->removeAction(m_lastMenuItemS);
        delete m_lastMenuItemS;
    }
    if (entry && !entry->urlPath().isNull()) {
        const QString folder = expandPath(entry->urlPath());
        if (dir_exists(folder)) {
            QAction *item = buildMenuFromDir(folder);
            QAction *first = m_menu->actions().value(0);
            m_lastMenuItemS = m_menu->insertSeparator(first);
            m_menu->insertAction(m_lastMenuItemS, item);
            m_lastMenuItem = item;
        }
    }
    const bool haveFiles = !selectedFiles().isEmpty();
    for (QAction *action : m_menu->actions()) {
        if (action != m_lastMenuItem && !action->isSeparator())
            action->setEnabled(haveFiles);
    }
    return m_menu;
}

QAction *FileTableView::buildMenuFromDir(const QString &folder)
{
    auto *submenu = new QMenu(PlainText::menuText(basename(folder)), m_menu);
    submenu->setToolTipsVisible(true);
    static const QFileIconProvider icons;
    int count = 0;
    for (const QString &path : ls_files(folder + u"/*"_s)) {
        QAction *item = submenu->addAction(icons.icon(QFileInfo(path)), PlainText::menuText(basename(path)));
        item->setToolTip(PlainText::toolTip(path));
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, item] { openFileFromMenu(item); });
        // The "..." follows the sixteenth entry, even when there is no seventeenth.
        if (++count >= MaximumFolderEntries) {
            submenu->addAction(u"..."_s)->setEnabled(false);
            break;
        }
    }
    return submenu->menuAction();
}

void FileTableView::openFileFromMenu(QAction *item)
{
    if (item && item->data().isValid() && m_fileManager)
        m_fileManager->openFile(item->data().toString());
}

void FileTableView::openFiles(const QList<FileObject> &files)
{
    if (!m_fileManager)
        return;
    for (const FileObject &file : files) {
        if (!file.filePath().isNull() && !file.line().isEmpty() && m_openAtLine)
            m_openAtLine(file);
        else if (!file.filePath().isNull())
            m_fileManager->openFile(file.filePath());
        else if (const std::optional<Url> url = Url::URLWithString(file.urlPath()))
            m_fileManager->open(*url, {});
    }
}

void FileTableView::revealFiles(const QList<FileObject> &files)
{
    if (!m_fileManager)
        return;
    for (const FileObject &file : files) {
        if (!file.filePath().isNull())
            m_fileManager->reveal(file.filePath(), {});
    }
}

void FileTableView::copyFiles(const QList<FileObject> &files)
{
    auto *copied = new QMimeData;
    copied->setText(ResultListController::text(files));
    QGuiApplication::clipboard()->setMimeData(copied);
}

} // namespace glimra
