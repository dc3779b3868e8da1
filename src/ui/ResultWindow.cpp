#include "ui/ResultWindow.h"

#include "app/AppDelegate.h"
#include "app/ExplanationReport.h"
#include "ui/ValueTransformers.h"
#include "ui/ActionListModel.h"
#include "ui/ActionTableView.h"
#include "ui/FileListModel.h"
#include "ui/FileTableView.h"
#include "ui/PlainText.h"

#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

ResultWindow::ResultWindow(AppDelegate *delegate, std::shared_ptr<FileManager> fileManager,
                           QWidget *parent)
    : QWidget(parent, Qt::Tool),
      m_delegate(delegate),
      m_contextLine(new QLabel(this)),
      m_tabs(new QTabWidget(this)),
      m_actionModel(new ActionListModel(this)),
      m_fileModel(new FileListModel(this)),
      m_actions(new ActionTableView(m_actionModel, this)),
      m_files(new FileTableView(m_fileModel, std::move(fileManager), this)),
      m_why(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Glimra"));
    setObjectName(u"ResultWindow"_s);
    m_contextLine->setObjectName(u"contextLine"_s);
    // It describes the selection: whatever that holds is shown as written, never loaded.
    PlainText::use(m_contextLine);
    m_contextLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long description is cut with an ellipsis by contentType; the label never grows the
    // panel past the screen.
    m_contextLine->setMinimumWidth(1);
    m_actions->setObjectName(u"actions"_s);
    m_files->setObjectName(u"files"_s);
    m_files->setOpenAtLine([this](const FileObject &file) { m_delegate->openAtLine(file); });
    m_tabs->addTab(m_actions, tr("&Actions"));
    m_tabs->addTab(m_files, tr("&Files"));
    m_why->setObjectName(u"why"_s);
    m_why->setReadOnly(true);
    m_why->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_why->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_tabs->addTab(m_why, tr("&Why?"));
    m_tabs->setFocusPolicy(Qt::NoFocus);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_contextLine);
    layout->addWidget(m_tabs);
    resize(480, 300);

    connect(delegate, &AppDelegate::resultChanged, this, &ResultWindow::showResult);
    connect(m_actions, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { runRow(index.row()); });
    connect(m_files, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { runRow(index.row()); });
    // The first row is chosen as soon as there is one, so Enter does something at once.
    for (QAbstractItemView *table : {static_cast<QAbstractItemView *>(m_actions),
                                     static_cast<QAbstractItemView *>(m_files)}) {
        connect(table->model(), &QAbstractItemModel::modelReset, table, [table] {
            if (table->model()->rowCount() > 0)
                table->setCurrentIndex(table->model()->index(0, 0));
        });
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { currentTable()->setFocus(); });
    m_actions->installEventFilter(this);
    m_files->installEventFilter(this);
    showResult(delegate->result());
}

ResultWindow::~ResultWindow() = default;

QString ResultWindow::currentTabIdentifier() const
{
    return m_tabs->currentWidget()->objectName();
}

QString ResultWindow::contextLine() const
{
    return m_contextLine->text();
}

QWidget *ResultWindow::currentTable() const
{
    return m_tabs->currentWidget();
}

void ResultWindow::showTab(qint64 selectedTab)
{
    m_tabs->setCurrentWidget(SelectTabTransformer::transformedValue(selectedTab) == u"files"_s
                                 ? static_cast<QWidget *>(m_files)
                                 : static_cast<QWidget *>(m_actions));
}

void ResultWindow::showResult(const GuessResult &result)
{
    // Rows are made afresh for a new guess; an update (late files) keeps what did not change.
    const bool newGuess = result.guess != m_result.guess;
    const bool newActions = newGuess || result.actions != m_result.actions;
    const bool newFiles = newGuess || result.files != m_result.files;
    m_result = result;
    if (newActions)
        m_actionModel->setActions(result.actions);
    if (newFiles)
        m_fileModel->setFiles(result.files);
    updateContextLine();
    updateWhy();
    showTab(result.selectedTab);
}

void ResultWindow::updateContextLine()
{
    const QString line = ContextInfoTransformer::transformedValue(m_result.matchedContext);
    const qsizetype cutAt = m_result.outcome.cutAt;
    m_contextLine->setText(cutAt > 0 ? tr("%1; the selection was cut to its first %2 MiB")
                                           .arg(line).arg(double(cutAt) / (1024 * 1024))
                                     : line);
}

void ResultWindow::updateWhy()
{
    const std::shared_ptr<const Explanation> &explanation = m_result.explanation;
    m_why->setPlainText(explanation ? ExplanationReport::text(*explanation)
                                    : tr("This guess was not explained."));
}

QString ResultWindow::whyText() const
{
    return m_why->toPlainText();
}

QRect ResultWindow::placedAtPointer(const QRect &frame, const QPoint &pointer, const QRect &available)
{
    QRect placed(QPoint(pointer.x() - frame.width() / 2, pointer.y() - frame.height() / 2), frame.size());
    // A panel partly off screen hides the very actions the user wants.
    if (!available.isValid())
        return placed;
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    return placed;
}

void ResultWindow::placeAt(const QPoint &pointer)
{
    const QScreen *screen = QGuiApplication::screenAt(pointer);
    const QRect available = screen ? screen->availableGeometry() : QRect();
    move(placedAtPointer(frameGeometry(), pointer, available).topLeft());
}

void ResultWindow::followMouse()
{
    const QPoint pointer = QCursor::pos();
    placeAt(pointer);
    // Never shown yet, the frame (its title bar) is not known and was not counted.
    if (frameGeometry() == geometry())
        m_placeAgainAt = pointer;
}

bool ResultWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (m_placeAgainAt && (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && frameGeometry() != geometry())
        placeAt(*std::exchange(m_placeAgainAt, std::nullopt));
    return handled;
}

void ResultWindow::showPanel()
{
    const bool follow = m_delegate->settings().boolForKey(u"popup_close_to_mouse"_s)
        && std::exchange(m_result.followPointer, false);
    if (follow)
        followMouse();
    show();
    raise();
    activateWindow();
    currentTable()->setFocus();
}

void ResultWindow::hidePanel()
{
    hide();
}

void ResultWindow::runRow(int row)
{
    if (currentTable() == m_actions) {
        if (const ActionPtr action = m_actionModel->actionAt(row)) {
            m_actionModel->started(action);
            // The row says how it ended when it failed; the model outlives no action.
            m_delegate->executeAction(action, [model = QPointer<ActionListModel>(m_actionModel), action](const Outcome &outcome) {
                if (model)
                    model->ended(action, outcome);
            });
        }
    } else if (currentTable() == m_files) {
        if (const FileObject *file = m_fileModel->fileAt(row))
            m_files->openFiles({*file});
    }
}

bool ResultWindow::handleKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        hidePanel();
        return true;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_9 && modifiers == Qt::NoModifier) {
        runRow(key - Qt::Key_1);
        return true;
    }
    return false;
}

void ResultWindow::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

bool ResultWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The tables would take the digits for a search by the rows' first letters.
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool ResultWindow::focusNextPrevChild(bool next)
{
    // Tab (and Shift+Tab) cycle through the tabs.
    const int count = m_tabs->count();
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + (next ? 1 : count - 1)) % count);
    return true;
}

} // namespace glimra
