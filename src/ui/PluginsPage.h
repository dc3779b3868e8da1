#pragma once

#include "ui/PreferencesPage.h"

#include <memory>

class QLabel;
class QTreeWidget;

namespace glimra {

class MainInterface;

/// The plug-ins: the matchers in the order a guess runs them and the actions, each in the
/// user's words (PluginDescription); new plug-ins from templates; the plug-in folder; a
/// refresh.
class PluginsPage : public PreferencesPage
{
    Q_OBJECT
public:
    PluginsPage(UserDefaults &defaults, MainInterface &interface, QWidget *parent = nullptr);

    QTreeWidget *matcherList() const { return m_matchers; }
    QTreeWidget *actionList() const { return m_actions; }

public slots:
    void newMatcher();
    void newAction();
    void revealFolder();
    void reloadLists();

protected:
    void load(const Settings &settings) override;
    QStringList keys() const override;

private:
    MainInterface &m_interface;
    QTreeWidget *m_matchers;
    QTreeWidget *m_actions;
    QLabel *m_folderProblem; ///< why the folder could not be shown
};

} // namespace glimra
