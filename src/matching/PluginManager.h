#pragma once

#include "matching/PluginCatalogue.h"
#include "matching/PluginLists.h"
#include "platform/Platform.h"

#include <QJsonArray>
#include <QObject>
#include <QString>

namespace glimra {

/// Owns the matcher list and the action list: the built-ins in their fixed order, the
/// script plug-ins of the application and user plug-in folders, and the user's
/// regular-expression matchers around the matcher list on every run. Creates new plug-in
/// files from templates, and reloads both lists in refreshPlugins() (wired by the
/// assembly to the application delegate's "refresh_plugins"). Lists are replaced whole,
/// never changed in place, so a run that holds the old list is not disturbed.
/// Main thread only.
class PluginManager : public QObject, public PluginLists
{
    Q_OBJECT
public:
    /// What the lists are made of comes from `catalogue`; `fileManager` opens new files.
    PluginManager(PluginCatalogue catalogue, std::shared_ptr<FileManager> fileManager,
                  QObject *parent = nullptr);
    ~PluginManager() override;

    /// Loads both lists and creates the user plug-in folder.
    void loadPlugins();

    MatcherList allMatchers(const Settings &settings) override;
    ActionList actionList() const override { return m_actionList; }
    MatcherList matcherList() const { return m_matcherList; }

    /// The one file-search matcher; it survives reloads and is always the last matcher.
    MatcherPtr searchMatch() const { return m_searchMatch; }

    /// The user plug-in folder, "${APP_SUPPORT}/glimra/plugins": new plug-ins go there.
    static QString userPluginsDir();
    /// The user plug-in folder's older place, "${APP_SUPPORT}/Glimra/PlugIns": still read,
    /// after the user plug-in folder, whose plug-in of a name wins. Nothing is moved.
    static QString olderUserPluginsDir();

    void setNewMatcherType(qint64 type) { m_newMatcherType = type; }
    void setNewMatcherName(const QString &name) { m_newMatcherName = name; }
    void setNewActionType(qint64 type) { m_newActionType = type; }
    void setNewActionName(const QString &name) { m_newActionName = name; }

    struct Creation
    {
        bool created = false;
        QString path;    ///< the new file, or the existing target
        QString message; ///< why nothing was created
    };
    /// Creates "<name>Matcher.<ext>" in the user plug-in folder from "MatchTemplate.<ext>"
    /// (0 handler script "handler", 1 Perl "pl", 2 shell "sh"), opens it when `openFile`, and
    /// sends "refresh_plugins" (pluginFileCreated). Refuses a name that is empty, blank,
    /// holds "/" or begins with ".", and never overwrites an existing file.
    Creation addMatcher(bool openFile = true);
    /// The same for "<name>Action.<ext>" from "ActionTemplate.<ext>" (0 "handler", 1 "sh").
    Creation addAction(bool openFile = true);

public slots:
    /// The action list first, then the matcher list.
    void refreshPlugins();

signals:
    /// A plug-in file was created: the application delegate's "refresh_plugins" follows.
    void pluginFileCreated();
    /// Both lists were loaded anew.
    void listsReloaded();

private:
    /// Appends a matcher for each entry whose key begins with `prefix`.
    void loadMatchPlugins(const QStringList &files);
    void loadActionPlugins(const QStringList &files);
    void populateRegExp(MatcherList &matchers, const QJsonArray &entries,
                        const QString &prefix) const;
    Creation addPlugin(const QString &name, const QString &role, const QString &extension,
                       const QString &templateName, bool openFile);

    PluginCatalogue m_catalogue;
    std::shared_ptr<FileManager> m_fileManager;
    MatcherPtr m_searchMatch;
    MatcherList m_matcherList;
    ActionList m_actionList;
    qint64 m_newMatcherType = 0;
    QString m_newMatcherName;
    qint64 m_newActionType = 0;
    QString m_newActionName;
};

} // namespace glimra
