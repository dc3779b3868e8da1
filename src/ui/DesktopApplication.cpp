#include "ui/DesktopApplication.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "desktop/BusPeer.h"
#include "app/BusService.h"
#include "ui/IntroPanel.h"
#include "ui/NewPluginDialog.h"
#include "ui/PlainText.h"
#include "ui/PluginsPage.h"
#include "ui/PreferencesWindow.h"
#include "ui/ResultWindow.h"
#include "ui/SettingsWatcher.h"
#include "matching/PluginManager.h"
#include "foundation/ExitCleanup.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "platform/Notifier.h"
#include "platform/RunningApplications.h"
#include "platform/UserDefaults.h"
#include "platform/displayName.h"
#include "desktop/DesktopPlatform.h"
#include "desktop/X11GlobalShortcuts.h"
#ifdef GLIMRA_HAS_WAYLAND
#include "desktop/DesktopDoctor.h"
#include "desktop/wayland/BindingInstaller.h"
#include "ui/ShortcutSettings.h"
#include "ui/WaylandShortcuts.h"
#endif

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFontMetrics>
#include <QIcon>
#include <QKeySequence>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace glimra {

const QString DesktopApplication::GuessSelectionShortcutKey = u"shortcut_guess_selection"_s;
const QString DesktopApplication::GuessClipboardShortcutKey = u"shortcut_guess_clipboard"_s;
const QString DesktopApplication::DefaultGuessSelectionShortcut = u"Meta+Alt+G"_s;
const QString DesktopApplication::DefaultGuessClipboardShortcut = u"Meta+Alt+C"_s;

namespace {

enum Shortcut { GuessSelectionShortcut, GuessClipboardShortcut };

int shortcutOf(const QString &settingsKey)
{
    return settingsKey == DesktopApplication::GuessSelectionShortcutKey ? GuessSelectionShortcut
                                                                        : GuessClipboardShortcut;
}

} // namespace

DesktopApplication::DesktopApplication(QObject *parent)
    : QObject(parent),
      m_platform(DesktopPlatform::create(true, DBusNotifier::Delivery::Detached)),
      m_userDefaults(std::make_shared<UserDefaults>()),
      m_interface(std::make_unique<MainInterface>(m_platform, m_userDefaults, nullptr)),
      m_window(std::make_unique<ResultWindow>(&m_interface->appDelegate(),
                                              m_platform.fileManager)),
      m_shortcuts(std::make_unique<X11GlobalShortcuts>())
{
    delegate().setResultWindow(m_window.get());
#ifdef GLIMRA_HAS_WAYLAND
    // Qt's windows are Xwayland's: it knows the pointer only over them.
    m_window->setPointerUnknown(WaylandShortcuts::isWaylandSession());
    if (m_window->pointerUnknown() && m_platform.runningApplications) {
        connect(m_platform.runningApplications.get(), &RunningApplications::applicationActivated, m_window.get(),
                [window = m_window.get()](const QString &windowClass) { window->otherApplicationActivated(windowClass); });
    }
#endif
    // The panel's "Why?" tab shows it; a few microseconds for the built-in chain.
    delegate().setExplaining(true);
    m_bus = new BusService(&delegate(), m_window.get(), this);
    connect(m_bus, &BusService::quitRequested, this, &DesktopApplication::quit);
    connect(m_bus, &BusService::preferencesRequested, this, [this](const QString &page) { showPreferences(page); });
    connect(m_bus, &BusService::helpRequested, this, [this](const QString &document) {
        if (document == u"actions"_s)
            showActionsDocument();
        else
            showManualDocument();
    });
    connect(m_shortcuts.get(), &X11GlobalShortcuts::activated, this, [this](int id) {
        // A shortcut is not a toolbar item: the panel may open at the pointer.
        if (id == GuessSelectionShortcut)
            guessSelection();
        else
            guessClipboard();
    });
}

DesktopApplication::~DesktopApplication()
{
    if (m_instanceLock && m_instanceLock->isLocked())
        ExitCleanup::removeFile(m_lockPath); // the lock file goes with the lock
}

// The application the user is in when Glimra starts is the one a guess from the tray
// guesses until the focus moves: otherwise, once Glimra's own panel is active, nothing
// would say which application to capture from.
void DesktopApplication::rememberActiveApplication()
{
    if (!m_platform.runningApplications)
        return;
    if (const std::optional<RunningApplication> active = m_platform.runningApplications->activeApplication())
        delegate().applicationFocusDidChange(active->windowClass, active->name);
}

AppDelegate &DesktopApplication::delegate() const
{
    return m_interface->appDelegate();
}

QString DesktopApplication::lockFilePath(const QString &display)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !dir_exists(folder)) {
        folder = qEnvironmentVariable("XDG_CACHE_HOME", homeDir() + u"/.cache"_s) + u"/Glimra"_s;
        mk_dirs(folder);
    }
    QString name = displayName(display);
    for (QChar &c : name) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-')
            c = u'_';
    }
    return folder + u"/glimra-display"_s + name + u".lock"_s;
}

// Started again: the running one shows its panel, as reopening does, unless it serves
// another display or does not answer; then this one says so and ends.
bool DesktopApplication::handOverToTheRunningOne(qint64 lockHolder)
{
    const BusPeer peer = BusPeer::find();
    QString problem = peer.problem();
    if (peer.state == BusPeer::State::Answers) {
        QDBusMessage reopen = QDBusMessage::createMethodCall(BusService::ServiceName, BusService::ObjectPath,
                                                             BusService::Interface, u"ShowResults"_s);
        reopen.setAutoStartService(false);
        const QDBusMessage reply =
            QDBusConnection::sessionBus().call(reopen, QDBus::Block, BusPeer::AnswerSeconds * 1000);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            std::fputs("glimra: Glimra runs already; its results panel is shown\n", stderr);
            return false;
        }
        problem = reply.errorMessage();
    } else if (problem.isNull()) {
        problem = u"Glimra runs already on display %1 (pid %2), out of reach of the session bus"_s.arg(
            displayName()).arg(lockHolder);
    }
    std::fputs(qPrintable(u"glimra: %1; Glimra does not start\n"_s.arg(problem)), stderr);
    m_exitStatus = 1;
    return false;
}

bool DesktopApplication::start()
{
    // One instance per display, with or without a session bus.
    m_lockPath = lockFilePath(qEnvironmentVariable("DISPLAY"));
    m_instanceLock = std::make_unique<QLockFile>(m_lockPath);
    m_instanceLock->setStaleLockTime(0); // held as long as its process lives
    if (!m_instanceLock->tryLock(0)) {
        qint64 holder = 0;
        m_instanceLock->getLockInfo(&holder, nullptr, nullptr);
        return handOverToTheRunningOne(holder);
    }
    // Ended by a signal, the program takes it along; killed outright, the next start finds
    // its process gone and takes the lock over.
    ExitCleanup::addFile(m_lockPath);
    QString problem;
    if (!m_bus->registerOnBus(&problem)) {
        if (QDBusConnection::sessionBus().isConnected())
            return handOverToTheRunningOne(0);
        // Without a session bus Glimra still works, by its shortcuts and tray.
        qCWarning(lcApp).noquote() << u"%1: Glimra runs without its bus interface"_s.arg(problem);
    }
    delegate().makeUpdateFeed();
    rememberActiveApplication();
    grabShortcuts();
    startWaylandShortcuts();
    // Shortcuts changed in the preferences, or by `glimra defaults write`, apply at once.
    m_settingsWatcher = new SettingsWatcher(m_userDefaults->filePath(), this);
    connect(m_settingsWatcher, &SettingsWatcher::changed, this, &DesktopApplication::grabShortcuts);
    setUpTray();
    return true;
}

void DesktopApplication::grabShortcuts()
{
#ifdef GLIMRA_HAS_WAYLAND
    if (m_wayland)
        m_wayland->settingsChanged();
    // The portal's shortcuts serve every window; a grab of Xwayland's would fire as well.
    if (!m_wayland || !m_wayland->usesPortal()) {
#endif
        grabShortcut(GuessSelectionShortcut, GuessSelectionShortcutKey, DefaultGuessSelectionShortcut);
        grabShortcut(GuessClipboardShortcut, GuessClipboardShortcutKey, DefaultGuessClipboardShortcut);
#ifdef GLIMRA_HAS_WAYLAND
    }
#endif
    updateTrayTexts();
}

// In a Wayland session the desktop runs the shortcuts: its GlobalShortcuts portal, or its
// own binding of `glimra guess`, which reaches this program over the bus as a request that
// follows the pointer (BusService::RunGuess), as the grab's does.
void DesktopApplication::startWaylandShortcuts()
{
#ifdef GLIMRA_HAS_WAYLAND
    if (!WaylandShortcuts::isWaylandSession())
        return;
    m_wayland = new WaylandShortcuts(*m_userDefaults, {}, this);
    connect(m_wayland, &WaylandShortcuts::activated, this, [this](int id) {
        if (id == GuessSelectionShortcut)
            guessSelection();
        else
            guessClipboard();
    });
    connect(m_wayland, &WaylandShortcuts::failed, this, [this](const QString &message) {
        reportProblem(tr("shortcut unavailable"), message);
    });
    connect(m_wayland, &WaylandShortcuts::keysChanged, this, &DesktopApplication::updateTrayTexts);
    // KWin's portal answered within 2 s where it was tried; a loaded machine, or the first
    // session of a user, takes longer. The event loop serves the bus and tray meanwhile.
    if (m_wayland->start(std::chrono::seconds(20))) {
        m_shortcuts->release(GuessSelectionShortcut);
        m_shortcuts->release(GuessClipboardShortcut);
    }
#endif
}

QString DesktopApplication::shortcutKeys(const QString &settingsKey) const
{
#ifdef GLIMRA_HAS_WAYLAND
    if (m_wayland)
        return m_wayland->keysText(settingsKey);
#endif
    return QKeySequence::fromString(m_grabbed.value(settingsKey), QKeySequence::PortableText)
        .toString(QKeySequence::NativeText);
}

QString DesktopApplication::trayToolTip(const QString &selectionKeys, const QString &clipboardKeys)
{
    const QString off = tr("off");
    return tr("Glimra\nGuess the selection: %1\nGuess the clipboard: %2")
        .arg(selectionKeys.isEmpty() ? off : selectionKeys, clipboardKeys.isEmpty() ? off : clipboardKeys);
}

QString DesktopApplication::trayToolTip() const
{
    return m_tray ? m_tray->toolTip() : QString();
}

QString DesktopApplication::withKeys(const QString &item, const QString &keys)
{
    // A menu shows what follows the tab in its column of keys.
    return keys.isEmpty() ? item : item + u'\t' + keys;
}

void DesktopApplication::updateTrayTexts()
{
    const QString selection = shortcutKeys(GuessSelectionShortcutKey);
    const QString clipboard = shortcutKeys(GuessClipboardShortcutKey);
    if (m_guessSelectionItem)
        m_guessSelectionItem->setText(withKeys(tr("Guess selection"), selection));
    if (m_guessClipboardItem)
        m_guessClipboardItem->setText(withKeys(tr("Guess clipboard"), clipboard));
    if (m_tray)
        m_tray->setToolTip(trayToolTip(selection, clipboard));
}

std::optional<std::pair<QString, bool>> DesktopApplication::installDesktopShortcuts()
{
#ifdef GLIMRA_HAS_WAYLAND
    if (m_wayland) {
        const BindingChange change = m_wayland->install();
        QString message = change.messageShown();
        for (const QString &line : change.lines)
            message += u"\n    "_s + line;
        updateTrayTexts();
        return std::pair{message, change.result == BindingChange::Result::Failed};
    }
#endif
    return std::nullopt;
}

void DesktopApplication::grabShortcut(int id, const QString &settingsKey, const QString &fallback)
{
    const QString text = m_userDefaults->objectForKey(settingsKey).isString()
        ? m_userDefaults->stringForKey(settingsKey)
        : fallback;
    // Reported once: a settings change that leaves this shortcut as it was is no news.
    if (m_grabbed.contains(settingsKey) && m_grabbed.value(settingsKey) == text)
        return;
    m_grabbed.insert(settingsKey, text);
    if (text.isEmpty()) {
        m_shortcuts->release(id);
        return;
    }
    QString problem;
    if (!m_shortcuts->grab(id, QKeySequence::fromString(text, QKeySequence::PortableText), &problem))
        reportProblem(tr("shortcut unavailable"),
                      tr("%1 cannot be used: %2. Glimra runs on without it.").arg(text, problem));
}

QString DesktopApplication::tryShortcut(const QString &settingsKey, const QKeySequence &sequence)
{
    QString problem;
    m_grabbed.insert(settingsKey, sequence.toString(QKeySequence::PortableText));
    if (!m_shortcuts->grab(shortcutOf(settingsKey), sequence, &problem))
        return problem;
    return {};
}

void DesktopApplication::reportProblem(const QString &title, const QString &description)
{
    qCWarning(lcApp).noquote() << title + u": "_s + description;
    if (m_platform.notifier)
        m_platform.notifier->notify(title, description, Notifier::Failure);
}

QMenu *DesktopApplication::buildMenu()
{
    auto *menu = new QMenu;
    // Asked from the tray's menu, the panel opens where it was, not at the pointer.
    m_guessSelectionItem = menu->addAction(tr("Guess selection"), this, [this] {
        delegate().guessCurrentSelection(AppDelegate::Sender::ToolbarItem);
    });
    m_guessClipboardItem = menu->addAction(tr("Guess clipboard"), this, [this] {
        delegate().guessCurrentClipboard(AppDelegate::Sender::ToolbarItem);
    });
    menu->addAction(tr("Show results"), this, &DesktopApplication::showResults);
    QMenu *recent = menu->addMenu(tr("Recent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    menu->addSeparator();
    menu->addAction(tr("Refresh plug-ins"), this, &DesktopApplication::refreshPlugins);
    menu->addAction(tr("New matcher…"), this, &DesktopApplication::newMatcher);
    menu->addAction(tr("New action…"), this, &DesktopApplication::newAction);
    menu->addAction(tr("Preferences…"), this, [this] { showPreferences(); });
    menu->addSeparator();
    menu->addAction(tr("Manual"), this, &DesktopApplication::showManualDocument);
    menu->addAction(tr("Actions"), this, &DesktopApplication::showActionsDocument);
    menu->addAction(tr("About Glimra"), this, &DesktopApplication::showAbout);
    menu->addAction(tr("Quit"), this, &DesktopApplication::quit);
    return menu;
}

// The last guesses, newest first, each named as its panel described it; made anew each time
// the menu opens.
void DesktopApplication::fillRecentMenu(QMenu *recent)
{
    recent->clear();
    const QList<RecentGuesses::Entry> &entries = delegate().recentGuesses();
    const QFontMetrics metrics(recent->font());
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const QString title = metrics.elidedText(entries.at(index).title.simplified(), Qt::ElideRight,
                                                 metrics.averageCharWidth() * 60);
        recent->addAction(PlainText::menuText(title), this, [this, index] { delegate().showRecentGuess(index); });
    }
    if (entries.isEmpty())
        recent->addAction(tr("No guesses yet"))->setEnabled(false);
    recent->addSeparator();
    recent->addAction(tr("Clear"), this, [this] { delegate().clearRecentGuesses(); })->setEnabled(!entries.isEmpty());
}

void DesktopApplication::setUpTray()
{
    m_menu.reset(buildMenu());
    // Shown also when no tray exists yet: a panel that starts later picks the icon up.
    // Without any, Glimra is reached by its shortcuts and `glimra show`.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        qCInfo(lcApp).noquote() << u"no system tray: Glimra is reached by its shortcuts and `glimra show`"_s;
    m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_tray->setContextMenu(m_menu.get());
    updateTrayTexts();
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            showResults();
    });
    m_tray->show();
}

void DesktopApplication::guessSelection()
{
    delegate().guessCurrentSelection();
}

void DesktopApplication::guessClipboard()
{
    delegate().guessCurrentClipboard();
}

void DesktopApplication::showResults()
{
    delegate().applicationShouldHandleReopen(m_window->isVisible());
}

void DesktopApplication::refreshPlugins()
{
    delegate().refreshPlugins();
}

PreferencesWindow &DesktopApplication::preferencesWindow()
{
    if (!m_preferences) {
        m_preferences = std::make_unique<PreferencesWindow>(
            *m_interface, [this](const QString &key, const QKeySequence &sequence) {
                return tryShortcut(key, sequence);
            });
#ifdef GLIMRA_HAS_WAYLAND
        GeneralPage *general = m_preferences->generalPage();
        if (m_wayland && !m_wayland->usesPortal())
            general->setDesktopBinding([this] { return *installDesktopShortcuts(); });
        general->setDesktopSummary([this] {
            CapabilityProbe::Options options;
            for (const ShortcutBinding &binding : ShortcutSettings::bindings(*m_userDefaults)) {
                if (binding.name == u"guess"_s)
                    options.guessKeys = binding.keys; // the advice names them
            }
            QStringList lines;
            for (const Capability &capability : DesktopDoctor::examine(options).capabilities)
                lines << capability.shownLine();
            // The keys the desktop binds (perhaps rebound in its settings), as the tray says them.
            if (m_wayland && m_wayland->usesPortal())
                lines << trayToolTip(shortcutKeys(GuessSelectionShortcutKey), shortcutKeys(GuessClipboardShortcutKey))
                             .split(u'\n')
                             .mid(1);
            return lines;
        });
#endif
    }
    return *m_preferences;
}

IntroPanel &DesktopApplication::introPanel()
{
    if (!m_introPanel)
        m_introPanel = std::make_unique<IntroPanel>(&m_interface->pluginManager());
    return *m_introPanel;
}

void DesktopApplication::showPreferences(const QString &page)
{
    preferencesWindow().showPage(page);
}

void DesktopApplication::showManualDocument()
{
    introPanel().goToManualDocument();
    introPanel().show();
    introPanel().raise();
    introPanel().activateWindow();
}

void DesktopApplication::showActionsDocument()
{
    introPanel().goToActionsDocument();
    introPanel().show();
    introPanel().raise();
    introPanel().activateWindow();
}

void DesktopApplication::newMatcher()
{
    showPreferences(u"plugins"_s);
    preferencesWindow().pluginsPage()->newMatcher();
}

void DesktopApplication::newAction()
{
    showPreferences(u"plugins"_s);
    preferencesWindow().pluginsPage()->newAction();
}

QString DesktopApplication::aboutText(const QString &version, const QString &feedURL)
{
    return tr("<h3>Glimra %1</h3>"
              "<p>Guesses what you have selected and offers what can be done with it.</p>"
              "<p>Update feed: %2<br>Glimra is updated by its package; nothing is fetched "
              "from the feed.</p>")
        .arg(version.toHtmlEscaped(), feedURL.toHtmlEscaped());
}

void DesktopApplication::showAbout()
{
    QMessageBox::about(m_window.get(), tr("About Glimra"),
                       aboutText(QApplication::applicationVersion(), delegate().feedURL()));
}

void DesktopApplication::quit()
{
    QApplication::quit();
}

} // namespace glimra
