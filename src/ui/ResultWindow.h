#pragma once

#include "app/GuessResult.h"
#include "app/ResultPanel.h"

#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace glimra {

class ActionListModel;
class ActionTableView;
class AppDelegate;
class FileListModel;
class FileTableView;
class FileManager;

/// The results panel: a small tool window with the context line (what the matched context
/// looks like) and three tabs: "actions", "files" and "why" (what each matcher and action
/// did in the guess shown). It shows the result the guess controller announces; the tab
/// shown follows the result's selectedTab, and a tab the user picks is never written back.
///
/// Keyboard first: it takes focus when shown; arrows move; Enter (or a double click) runs
/// the chosen action or opens the chosen file; 1–9 pick a row directly; Tab cycles the tabs;
/// Esc hides. Shown at the pointer when the user asked for it ("popup_close_to_mouse") and
/// the request asked for it (the result's followPointer), kept inside the screen's available area.
/// Main thread only.
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
    QString contextLine() const;
    ActionTableView *actionTable() const { return m_actions; }
    FileTableView *fileTable() const { return m_files; }
    QString whyText() const;

    /// Where the panel goes when it follows the pointer at `pointer`: centred on it, then
    /// moved inside `available` (the usable area of the screen under the pointer).
    static QRect placedAtPointer(const QRect &frame, const QPoint &pointer, const QRect &available);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void showTab(qint64 selectedTab);
    void showResult(const GuessResult &result);
    void updateContextLine();
    void updateWhy();
    void runRow(int row);
    void followMouse();
    void placeAt(const QPoint &pointer);
    QWidget *currentTable() const;

    // The pointer the panel was placed at before the window manager had framed it: it is
    // placed again once the frame is known, so that its title bar stays on the screen.
    // Declared before the child widgets: making each child sends event() an event, which
    // reads it.
    std::optional<QPoint> m_placeAgainAt;
    // The result shown.
    GuessResult m_result;
    AppDelegate *m_delegate;
    QLabel *m_contextLine;
    QTabWidget *m_tabs;
    ActionListModel *m_actionModel;
    FileListModel *m_fileModel;
    ActionTableView *m_actions;
    FileTableView *m_files;
    QPlainTextEdit *m_why;
};

} // namespace glimra
