#include "ui/ResultWindow.h"

#include "app/AppDelegate.h"
#include "app/ExplanationReport.h"
#include "app/PanelHeader.h"
#include "desktop/X11WindowActivation.h"
#include "foundation/Log.h"
#include "ui/ValueTransformers.h"
#include "ui/ActionListModel.h"
#include "ui/ActionTableView.h"
#include "ui/FileListModel.h"
#include "ui/FileTableView.h"
#include "ui/PlainText.h"

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The heading of the "Why?" tab, which a screen reader says of its text too.
const char *const WhyHeading =
    QT_TRANSLATE_NOOP("glimra::ResultWindow", "For plug-in writers: how each matcher and action took part in this guess");

} // namespace

ResultWindow::ResultWindow(AppDelegate *delegate, std::shared_ptr<FileManager> fileManager,
                           QWidget *parent)
    // A tool window without the window manager's frame: a popup beside the pointer that
    // goes when the user turns elsewhere, not a window to arrange.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_delegate(delegate),
      m_contextLine(new QLabel(this)),
      m_filterLine(new QLabel(this)),
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
    // One line, cut to the width it has (elideHeader()); it never grows the panel.
    m_contextLine->setWordWrap(false);
    m_contextLine->setMinimumWidth(1);
    m_contextLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_contextLine->installEventFilter(this);
    m_actions->setObjectName(u"actions"_s);
    m_files->setObjectName(u"files"_s);
    m_files->setOpenAtLine([this](const FileObject &file) { m_delegate->openAtLine(file); });
    m_tabs->addTab(m_actions, tr("&Actions"));
    m_tabs->addTab(m_files, tr("&Files"));
    m_why->setObjectName(u"whyText"_s);
    m_why->setReadOnly(true);
    m_why->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_why->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_tabs->addTab(whyPage(), tr("&Why?"));
    // What a screen reader says of each part of the panel.
    m_actions->setAccessibleName(tr("Actions"));
    m_actions->setAccessibleDescription(
        tr("What can be done with the selection. Enter runs the chosen action, 1 to 9 run a row, "
           "typed letters narrow the list."));
    m_files->setAccessibleName(tr("Files"));
    m_files->setAccessibleDescription(
        tr("The files the selection names and those a desktop search found. Enter opens the chosen file."));
    m_why->setAccessibleName(tr("Why?"));
    m_why->setAccessibleDescription(tr(WhyHeading));
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_filterLine->setObjectName(u"filterLine"_s);
    PlainText::use(m_filterLine);
    m_filterLine->setForegroundRole(QPalette::PlaceholderText);
    m_filterLine->hide();

    auto *layout = new QVBoxLayout(this);
    // Room for the outline that paintEvent() draws in place of a frame.
    layout->setContentsMargins(layout->contentsMargins() + QMargins(1, 1, 1, 1));
    layout->addWidget(m_contextLine);
    layout->addWidget(m_tabs);
    layout->addWidget(m_filterLine);
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
    return (m_headerValue.isEmpty() ? m_headerKind : m_headerKind + PanelHeader::separator() + m_headerValue)
        + m_headerNote;
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
    if (newGuess)
        clearFilter();
    if (newActions)
        m_actionModel->setActions(result.actions, result.matchedContext, m_delegate->settings());
    if (newFiles)
        m_fileModel->setFiles(result.files);
    updateContextLine();
    updateWhy();
    showTab(result.selectedTab);
}

void ResultWindow::updateContextLine()
{
    const Context &matched = m_result.matchedContext;
    const qsizetype cutAt = m_result.outcome.cutAt;
    m_headerKind = PanelHeader::kind(matched);
    m_headerValue = PanelHeader::value(matched, m_result.selectionContext);
    m_headerMiddle = PanelHeader::elideInTheMiddle(matched);
    m_headerNote = cutAt > 0 ? tr("; the selection was cut to its first %1 MiB").arg(double(cutAt) / (1024 * 1024))
                               : QString();
    m_contextLine->setToolTip(PlainText::toolTip(contextLine()));
    elideHeader();
}

void ResultWindow::elideHeader()
{
    // The kind and the note always show; the value gets what width is left, cut with "…"
    // only where it does not fit.
    const QFontMetrics metrics(m_contextLine->font());
    const QString kind = m_headerValue.isEmpty() ? m_headerKind : m_headerKind + PanelHeader::separator();
    const int room = m_contextLine->contentsRect().width() - metrics.horizontalAdvance(kind + m_headerNote);
    const QString value = metrics.elidedText(m_headerValue, m_headerMiddle ? Qt::ElideMiddle : Qt::ElideRight,
                                             std::max(room, 0));
    m_contextLine->setText(kind + value + m_headerNote);
}

QString ResultWindow::shownHeader() const
{
    return m_contextLine->text();
}

QWidget *ResultWindow::whyPage()
{
    // The class names there are for those who write plug-ins, and the page says so.
    auto *page = new QWidget(this);
    page->setObjectName(u"why"_s);
    auto *heading = new QLabel(tr(WhyHeading), page);
    heading->setObjectName(u"whyHeading"_s);
    heading->setTextFormat(Qt::PlainText);
    heading->setWordWrap(true);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(m_why);
    page->setFocusProxy(m_why);
    return page;
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
    const QRect placed(QPoint(pointer.x() - frame.width() / 2, pointer.y() - frame.height() / 2), frame.size());
    return keptInside(placed, available);
}

QRect ResultWindow::placedBesidePointer(const QSize &size, const QPoint &pointer, const QRect &available)
{
    // Below and to the right of the pointer; on the other side of it where that side has
    // no room, so that the pointer stays visible beside the panel.
    QRect placed(pointer + QPoint(PointerGap, PointerGap), size);
    if (available.isValid() && placed.right() > available.right())
        placed.moveRight(pointer.x() - PointerGap);
    if (available.isValid() && placed.bottom() > available.bottom())
        placed.moveBottom(pointer.y() - PointerGap);
    return keptInside(placed, available);
}

QRect ResultWindow::keptInside(QRect placed, const QRect &available)
{
    // A panel partly off screen hides the very actions the user wants.
    if (!available.isValid())
        return placed;
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    return placed;
}

int ResultWindow::screenShowing(const QRect &window, const QList<QRect> &screens)
{
    if (!window.isValid())
        return -1;
    // The screen that holds the window's centre; else, for a window whose centre is off
    // every screen, the one that shows most of it.
    for (qsizetype i = 0; i < screens.size(); ++i) {
        if (screens[i].contains(window.center()))
            return int(i);
    }
    int best = -1;
    qint64 bestArea = 0;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QRect shown = screens[i].intersected(window);
        const qint64 area = qint64(shown.width()) * shown.height();
        if (shown.isValid() && area > bestArea) {
            best = int(i);
            bestArea = area;
        }
    }
    return best;
}

void ResultWindow::placeForRequest()
{
    if (m_pointerUnknown)
        return centreOn(screenOfFrontWindow());
    const QPoint pointer = QCursor::pos();
    const QScreen *screen = QGuiApplication::screenAt(pointer);
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const bool centred = m_delegate->settings().boolForKey(u"popup_close_to_mouse"_s);
    move((centred ? placedAtPointer(geometry(), pointer, available)
                  : placedBesidePointer(size(), pointer, available)).topLeft());
}

QScreen *ResultWindow::screenOfFrontWindow() const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<QRect> geometries;
    for (const QScreen *screen : screens)
        geometries.append(screen->geometry());
    const int index = screenShowing(m_result.frontWindow, geometries);
    return index >= 0 ? screens[index] : QGuiApplication::primaryScreen();
}

void ResultWindow::placeFirstTime()
{
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    centreOn(screen ? screen : QGuiApplication::primaryScreen());
}

void ResultWindow::centreOn(const QScreen *screen)
{
    if (screen) {
        QRect placed(QPoint(), size());
        placed.moveCenter(screen->availableGeometry().center());
        move(keptInside(placed, screen->availableGeometry()).topLeft());
    }
}

void ResultWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // Without a frame the panel needs an edge of its own against what lies behind it.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool ResultWindow::event(QEvent *event)
{
    // Gone when the user turns to another window; the panel's own menus keep it. Only a
    // showing that was active counts: a deactivation left over from before the panel was
    // shown again must not hide it.
    if (event->type() == QEvent::WindowActivate)
        m_activeSinceShown = true;
    else if (event->type() == QEvent::Hide)
        m_activeSinceShown = false;
    else if (event->type() == QEvent::WindowDeactivate && m_activeSinceShown && isVisible())
        QTimer::singleShot(0, this, &ResultWindow::hideUnlessActive);
    return QWidget::event(event);
}

void ResultWindow::otherApplicationActivated(const QString &windowClass)
{
    if (!m_pointerUnknown || windowClass.isEmpty())
        return;
    // The panel's own window, as the compositor names an Xwayland window of this program.
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const QString &own : {QGuiApplication::desktopFileName(), QCoreApplication::applicationName(), program}) {
        if (!own.isEmpty() && windowClass.compare(own, Qt::CaseInsensitive) == 0)
            return;
    }
    // sway may name the application the selection came from again once the panel is up:
    // only another one counts.
    if (!isVisible() || !m_activeSinceShown || windowClass == m_result.selectionContext.value(CTX_APPID))
        return;
    qCInfo(lcApp).noquote() << u"the panel goes: %1 is active"_s.arg(windowClass);
    hidePanel();
}

void ResultWindow::hideUnlessActive()
{
    if (isVisible() && m_activeSinceShown && !isActiveWindow() && !QApplication::activePopupWidget())
        hidePanel();
}

void ResultWindow::showPanel()
{
    // Beside the pointer when a shortcut (or a desktop binding) asked; where it was when
    // the tray or `glimra show` did.
    const bool requested = std::exchange(m_result.followPointer, false);
    if (requested)
        placeForRequest();
    else if (!m_placed)
        placeFirstTime();
    m_placed = true;
    show();
    raise();
    activateWindow();
    // A request from a key grab or over the bus carries no input event Qt has seen, so the
    // window manager's focus-stealing prevention may hold back Qt's own request: ask as
    // a task bar does, since the user pressed a key for this panel.
    if (requested || m_pointerUnknown)
        X11WindowActivation::activate(winId());
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
            // The paste types into the window the selection came from. On X11 it brings that
            // window to the front, which hides the panel; in a Wayland session no program may
            // hand the focus on, so the panel goes first and the compositor gives the focus
            // back to the window that had it.
            if (m_pointerUnknown && action->name() == u"PasteAction"_s)
                hidePanel();
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
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        hidePanel();
        return true;
    }
    if ((currentTable() != m_actions && currentTable() != m_files) || modifiers != Qt::NoModifier)
        return false;
    // Digits pick a row until a letter has been typed; then they narrow the rows too.
    if (key >= Qt::Key_1 && key <= Qt::Key_9 && !m_filterHasLetter && !(event->modifiers() & Qt::ShiftModifier)) {
        runRow(key - Qt::Key_1);
        return true;
    }
    if (key == Qt::Key_Backspace && !m_filter.isEmpty()) {
        m_filter.chop(1);
        m_filterHasLetter = std::any_of(m_filter.cbegin(), m_filter.cend(), [](QChar c) { return c.isLetter(); });
        applyFilter();
        return true;
    }
    const QString text = event->text();
    const bool typed = text.size() == 1 && text.at(0).isPrint() && (!text.at(0).isSpace() || !m_filter.isEmpty());
    if (!typed)
        return false;
    m_filter += text;
    m_filterHasLetter = m_filterHasLetter || text.at(0).isLetter();
    applyFilter();
    return true;
}

void ResultWindow::applyFilter()
{
    m_actionModel->setFilter(m_filter);
    m_fileModel->setFilter(m_filter);
    m_filterLine->setText(tr("Showing what holds “%1”").arg(m_filter));
    m_filterLine->setVisible(!m_filter.isEmpty());
}

void ResultWindow::clearFilter()
{
    m_filter.clear();
    m_filterHasLetter = false;
    m_filterLine->hide();
}

QString ResultWindow::filter() const
{
    return m_filter;
}

void ResultWindow::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

bool ResultWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_contextLine && event->type() == QEvent::Resize)
        elideHeader();
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
