#pragma once

#include "ui/GeneralPage.h"

#include <QWidget>

class QTabWidget;

namespace glimra {

class ContextPage;
class MainInterface;
class PluginsPage;
class PreferencesPage;
class RulesPage;
class SearchPage;
class SettingsWatcher;

/// The preferences window: General, Rules, Context, Search and Plug-ins. Every change is
/// written at once (there is no Apply); a change made elsewhere (another `glimra defaults
/// write`, an editor) shows while the window is open.
class PreferencesWindow : public QWidget
{
    Q_OBJECT
public:
    PreferencesWindow(MainInterface &interface, GeneralPage::ShortcutTrial tryShortcut,
                      QWidget *parent = nullptr);
    ~PreferencesWindow() override;

    /// Fronts the window on the page named `page` ("general", "rules", "context",
    /// "search", "plugins"; the current one when empty).
    void showPage(const QString &page = {});

    GeneralPage *generalPage() const { return m_general; }
    RulesPage *rulesPage() const { return m_rules; }
    PluginsPage *pluginsPage() const { return m_plugins; }
    QTabWidget *pages() const { return m_tabs; }

private:
    void reload();

    MainInterface &m_interface;
    QTabWidget *m_tabs;
    QList<PreferencesPage *> m_pages;
    GeneralPage *m_general;
    RulesPage *m_rules;
    PluginsPage *m_plugins;
    SettingsWatcher *m_watcher;
};

} // namespace glimra
