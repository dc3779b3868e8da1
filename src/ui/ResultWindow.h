#pragma once

#include "app/GuessResult.h"
#include "app/ResultPanel.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QScreen;
class QTabWidget;

namespace glimra {

class ActionListModel;
class ActionTableView;
class AppDelegate;
class FileListModel;
class FileTableView;
class FileManager;

/// The results panel: a small tool window with a header (what was found, in words, on one
/// line cut to the panel's width: see PanelHeader) and three tabs: "actions", "files" and "why" (what each matcher and action
/// did in the guess shown). It shows the result the guess
/// controller announces; the tab shown follows the result's selectedTab, and a tab the user picks is
/// never written back.
///
/// Keyboard first: it takes focus when shown; arrows move; Enter (or a double click) runs
/// the chosen action or opens the chosen file; 1–9 pick a row directly until a letter is
/// typed; typed characters narrow both tables (Backspace widens); Tab cycles the tabs;
/// Esc hides, and so does turning to another window. A borderless tool window: when the
/// request came from a shortcut (the result's followPointer), shown below and to the right of
/// the pointer, or centred on it when the user asked for that ("popup_close_to_mouse"),
/// always inside the screen's available area; otherwise (the tray, `glimra show`) where it
/// was. Main thread only.
class ResultWindow : public QWidget, public ResultPanel
{
    Q_OBJECT
public:
    /// None of the collaborators is owned; each must outlive the window.
    ResultWindow(AppDelegate *delegate, std::shared_ptr<FileManager> fileManager,
                 QWidget *parent = nullptr);
    ~ResultWindow() override;

    void showPanel() override;
    void hidePanel() override;
    bool isShown() const override { return isVisible(); }

    /// The identifier of the tab shown: "actions", "files" or "why".
    QString currentTabIdentifier() const;
    /// What the header says, whole: the kind and the value of what was found.
    QString contextLine() const;
    /// The header as shown, cut to the panel's width.
    QString shownHeader() const;
    ActionTableView *actionTable() const { return m_actions; }
    FileTableView *fileTable() const { return m_files; }
    QString whyText() const;
    /// What the user typed to narrow the rows; empty for all of them.
    QString filter() const;

    /// The distance between the pointer and the panel placed beside it.
    static constexpr int PointerGap = 8;
    /// Where the panel goes when it is centred on the pointer at `pointer`, moved inside
    /// `available` (the usable area of the screen under the pointer).
    static QRect placedAtPointer(const QRect &frame, const QPoint &pointer, const QRect &available);
    /// Where a panel of `size` goes beside the pointer: below and to the right of it, on the
    /// other side where there is no room, inside `available`. It covers the pointer only
    /// when it is too large for the screen to avoid it.
    static QRect placedBesidePointer(const QSize &size, const QPoint &pointer, const QRect &available);
    /// The screen (of `screens`, their geometries) that shows `window`: the one holding its
    /// centre, else the one showing most of it; -1 for a null window or one on no screen.
    static int screenShowing(const QRect &window, const QList<QRect> &screens);
    /// For a Wayland session, where the pointer's position is not known to this program (its
    /// windows are Xwayland's, which sees the pointer only over them) and sway centres the
    /// panel whatever is asked: a request's panel opens centred on the screen of the window
    /// in front when the request came (the result's frontWindow; the primary screen where
    /// the desktop does not tell), instead of at a stale position, and the panel asks for the
    /// keyboard as a pager does, which focus-stealing prevention lets through.
    void setPointerUnknown(bool unknown) { m_pointerUnknown = unknown; }
    bool pointerUnknown() const { return m_pointerUnknown; }
    /// The desktop says another application's window is active. In a Wayland session Qt is
    /// not told when a native window takes the focus from the panel (Xwayland's focus stays
    /// where it was): the compositor's word hides the panel as turning to another window
    /// does on X11. The panel's own window (named after this program) and the application
    /// the selection came from do not count.
    void otherApplicationActivated(const QString &windowClass);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void showTab(qint64 selectedTab);
    void showResult(const GuessResult &result);
    void updateContextLine();
    void elideHeader();
    void updateWhy();
    QWidget *whyPage();
    void runRow(int row);
    void applyFilter();
    void clearFilter();
    static QRect keptInside(QRect placed, const QRect &available);
    void placeForRequest();
    void placeFirstTime();
    void centreOn(const QScreen *screen);
    QScreen *screenOfFrontWindow() const;
    void hideUnlessActive();
    QWidget *currentTable() const;

    // The result shown.
    GuessResult m_result;
    // The panel has a place of its own (set by a request or the first showing).
    bool m_placed = false;
    bool m_pointerUnknown = false;
    // The panel has been the active window since it was last shown.
    bool m_activeSinceShown = false;
    QString m_headerKind;
    QString m_headerValue;
    QString m_headerNote;
    bool m_headerMiddle = false;
    AppDelegate *m_delegate;
    QLabel *m_contextLine;
    QLabel *m_filterLine;
    QString m_filter;
    bool m_filterHasLetter = false;
    QTabWidget *m_tabs;
    ActionListModel *m_actionModel;
    FileListModel *m_fileModel;
    ActionTableView *m_actions;
    FileTableView *m_files;
    QPlainTextEdit *m_why;
};

} // namespace glimra
