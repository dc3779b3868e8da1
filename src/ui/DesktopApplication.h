#pragma once

#include "platform/Platform.h"

#include <QHash>
#include <QKeySequence>
#include <QObject>

#include <memory>
#include <optional>
#include <utility>

class QAction;
class QLockFile;
class QMenu;
class QSystemTrayIcon;

namespace glimra {

class AppDelegate;
class BusService;
class IntroPanel;
class MainInterface;
class PreferencesWindow;
class ResultWindow;
class SettingsWatcher;
class UserDefaults;
class WaylandShortcuts;
class X11GlobalShortcuts;

/// The resident desktop application: one per session (it owns org.glimra.Glimra on the
/// session bus), reached through its global shortcuts, its tray icon and the bus. Creates
/// the desktop's services, the guess controller's assembly and the results panel, and
/// wires them. Needs a QApplication on X11. Main thread only.
class DesktopApplication : public QObject
{
    Q_OBJECT
public:
    /// The settings keys of the two shortcuts, and their defaults (keys no common desktop
    /// binds).
    static const QString GuessSelectionShortcutKey;
    static const QString GuessClipboardShortcutKey;
    static const QString DefaultGuessSelectionShortcut;
    static const QString DefaultGuessClipboardShortcut;

    explicit DesktopApplication(QObject *parent = nullptr);
    ~DesktopApplication() override;

    /// Takes this display's lock and the bus name and starts serving: shortcuts, tray,
    /// update feed. False when another instance runs: that one has then been asked to show
    /// its results panel (exitStatus() 0), or it could not be (another display, no answer,
    /// no bus: exitStatus() 1, and the reason was printed).
    bool start();
    int exitStatus() const { return m_exitStatus; }
    /// Where the lock file that keeps one instance per display lives: $XDG_RUNTIME_DIR,
    /// else the cache folder; its name carries the display's.
    static QString lockFilePath(const QString &display);

    AppDelegate &delegate() const;
    /// What the About dialog says: the version, and the update feed.
    static QString aboutText(const QString &version, const QString &feedURL);
    MainInterface &interface() const { return *m_interface; }
    ResultWindow &resultWindow() const { return *m_window; }

    /// Grabs `sequence` as the shortcut of `settingsKey`; the reason when it cannot be
    /// used, else a null text.
    QString tryShortcut(const QString &settingsKey, const QKeySequence &sequence);
    /// The keys that run the shortcut of `settingsKey`, as the tray names them: the keys
    /// grabbed on X11; in a Wayland session those of the binding Glimra wrote, or "bound in
    /// the desktop's settings" where the desktop keeps them; empty when it is off.
    QString shortcutKeys(const QString &settingsKey) const;
    /// The tray icon's tooltip, naming the keys of both shortcuts.
    static QString trayToolTip(const QString &selectionKeys, const QString &clipboardKeys);
    /// A menu item's text with the keys that run it shown beside it.
    static QString withKeys(const QString &item, const QString &keys);
    /// The tray's menu.
    QMenu *trayMenu() const { return m_menu.get(); }
    QString trayToolTip() const;
    /// What `glimra shortcut install` does, for Preferences: the message to show, and
    /// whether it failed. Null where Glimra binds no shortcut of the desktop's (X11).
    std::optional<std::pair<QString, bool>> installDesktopShortcuts();

public slots:
    void guessSelection();
    void guessClipboard();
    void showResults();
    void refreshPlugins();
    /// Fronts the preferences window on a page ("general", "rules", …; empty: as it was).
    void showPreferences(const QString &page = {});
    void showManualDocument();
    void showActionsDocument();
    void newMatcher();
    void newAction();
    void showAbout();
    void quit();

private:
    void rememberActiveApplication();
    bool handOverToTheRunningOne(qint64 lockHolder);
    void grabShortcuts();
    void grabShortcut(int id, const QString &settingsKey, const QString &fallback);
    void startWaylandShortcuts();
    void updateTrayTexts();
    PreferencesWindow &preferencesWindow();
    IntroPanel &introPanel();
    void setUpTray();
    QMenu *buildMenu();
    void fillRecentMenu(QMenu *recent);
    void reportProblem(const QString &title, const QString &description);

    QString m_lockPath;
    std::unique_ptr<QLockFile> m_instanceLock;
    int m_exitStatus = 0;
    Platform m_platform;
    std::shared_ptr<UserDefaults> m_userDefaults;
    std::unique_ptr<MainInterface> m_interface;
    std::unique_ptr<ResultWindow> m_window;
    std::unique_ptr<X11GlobalShortcuts> m_shortcuts;
    BusService *m_bus = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    std::unique_ptr<QMenu> m_menu;
    QAction *m_guessSelectionItem = nullptr;
    QAction *m_guessClipboardItem = nullptr;
    // In a Wayland session: the portal's shortcuts or the desktop's binding (a child).
    WaylandShortcuts *m_wayland = nullptr;
    SettingsWatcher *m_settingsWatcher = nullptr;
    // Made when first shown.
    std::unique_ptr<PreferencesWindow> m_preferences;
    std::unique_ptr<IntroPanel> m_introPanel;
    // The shortcut grabbed for each key, so that a settings change re-grabs only what changed.
    QHash<QString, QString> m_grabbed;
};

} // namespace glimra
