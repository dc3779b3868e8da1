#include "ui/PluginsPage.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "ui/NewPluginDialog.h"
#include "ui/PluginDescription.h"
#include "ui/Problem_p.h"
#include "foundation/Paths.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"
#include "platform/FileManager.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QTreeWidget *makeList(QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({PluginsPage::tr("Name"), PluginsPage::tr("Kind"), PluginsPage::tr("What it does")});
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(true);
    return list;
}

void addRow(QTreeWidget *list, const PluginDescription &description)
{
    if (!description.listed)
        return;
    auto *item = new QTreeWidgetItem(list, {description.name, description.kind, description.about});
    for (int column = 0; column < list->columnCount(); ++column)
        item->setToolTip(column, item->text(column));
}

} // namespace

PluginsPage::PluginsPage(UserDefaults &defaults, MainInterface &interface, QWidget *parent)
    : PreferencesPage(defaults, parent),
      m_interface(interface),
      m_matchers(makeList(this)),
      m_actions(makeList(this)),
      m_folderProblem(makeProblemLabel(this))
{
    m_folderProblem->setObjectName(u"folderProblem"_s);
    m_matchers->setObjectName(u"matchers"_s);
    m_actions->setObjectName(u"actions"_s);
    auto *buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const QString &text, auto *receiver, auto slot) {
        auto *button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, receiver, slot);
        buttons->addWidget(button);
    };
    addButton(tr("New &Matcher…"), this, &PluginsPage::newMatcher);
    addButton(tr("New &Action…"), this, &PluginsPage::newAction);
    addButton(tr("Show the &Folder"), this, &PluginsPage::revealFolder);
    buttons->addStretch();
    // Refresh reloads the plug-ins, as the tray's command does; every reload shows here.
    addButton(tr("&Refresh"), &m_interface.appDelegate(), &AppDelegate::refreshPlugins);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Matchers, in the order a guess runs them:"), this));
    layout->addWidget(m_matchers, 3);
    layout->addWidget(new QLabel(tr("Actions, in the order they are offered:"), this));
    layout->addWidget(m_actions, 2);
    layout->addLayout(buttons);
    layout->addWidget(m_folderProblem);
    connect(&m_interface.pluginManager(), &PluginManager::listsReloaded, this, &PluginsPage::reloadLists);
}

QStringList PluginsPage::keys() const
{
    return {u"regexp_matchers"_s};
}

void PluginsPage::load(const Settings &)
{
    reloadLists();
}

void PluginsPage::reloadLists()
{
    PluginManager &manager = m_interface.pluginManager();
    m_matchers->clear();
    for (const MatcherPtr &matcher : manager.allMatchers(m_interface.userDefaults().snapshot()))
        addRow(m_matchers, PluginDescription::of(*matcher));
    m_actions->clear();
    for (const ActionPtr &action : manager.actionList())
        addRow(m_actions, PluginDescription::of(*action));
}

void PluginsPage::newMatcher()
{
    NewPluginDialog(NewPluginDialog::Role::Matcher, m_interface.pluginManager(), m_interface.platform().fileManager,
                    this)
        .exec();
}

void PluginsPage::newAction()
{
    NewPluginDialog(NewPluginDialog::Role::Action, m_interface.pluginManager(), m_interface.platform().fileManager,
                    this)
        .exec();
}

void PluginsPage::revealFolder()
{
    const QString folder = PluginManager::userPluginsDir();
    mk_dirs(folder);
    showProblem(m_folderProblem, {});
    const std::shared_ptr<FileManager> &fileManager = m_interface.platform().fileManager;
    auto say = [problem = QPointer<QLabel>(m_folderProblem), folder](const Outcome &outcome) {
        if (problem && !outcome.ok)
            showProblem(problem, tr("%1 cannot be shown: %2").arg(folder, outcome.messageShown()));
    };
    if (!fileManager)
        return say(Outcome::failure(tr("there is no file manager")));
    fileManager->openFile(folder, say);
}

} // namespace glimra
