#include "ui/PreferencesWindow.h"

#include "app/MainInterface.h"
#include "ui/AccessibleText.h"
#include "ui/ContextPage.h"
#include "ui/PluginsPage.h"
#include "ui/Problem_p.h"
#include "ui/RulesPage.h"
#include "ui/SearchPage.h"
#include "ui/SettingsWatcher.h"
#include "platform/UserDefaults.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

PreferencesWindow::PreferencesWindow(MainInterface &interface, GeneralPage::ShortcutTrial tryShortcut,
                                     QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_interface(interface),
      m_tabs(new QTabWidget(this)),
      m_general(nullptr),
      m_rules(new RulesPage(interface.userDefaults(), interface, this)),
      m_plugins(new PluginsPage(interface.userDefaults(), interface, this)),
      m_watcher(new SettingsWatcher(interface.userDefaults().filePath(), this))
{
    setWindowTitle(tr("Glimra Preferences"));
    UserDefaults &defaults = interface.userDefaults();
    const QList<std::pair<PreferencesPage *, QString>> pages = {
        {m_general = new GeneralPage(defaults, std::move(tryShortcut), this), tr("&General")},
        {m_rules, tr("&Rules")},
        {new ContextPage(defaults, this), tr("&Context")},
        {new SearchPage(defaults, this), tr("&Search")},
        {m_plugins, tr("&Plug-ins")}};
    const QStringList names = {u"general"_s, u"rules"_s, u"context"_s, u"search"_s, u"plugins"_s};
    for (qsizetype i = 0; i < pages.size(); ++i) {
        pages.at(i).first->setObjectName(names.at(i));
        m_tabs->addTab(pages.at(i).first, pages.at(i).second);
        // A field its page left unnamed is named after what is read beside it.
        AccessibleText::complete(pages.at(i).first, QString(pages.at(i).second).remove(u'&'));
        m_pages.append(pages.at(i).first);
    }
    // A change the settings file refused is said under the pages, until one is written.
    QLabel *problem = makeProblemLabel(this);
    problem->setObjectName(u"settingsProblem"_s);
    for (PreferencesPage *page : std::as_const(m_pages)) {
        connect(page, &PreferencesPage::refused, problem,
                [problem](const QString &why) { showProblem(problem, tr("Not saved: %1").arg(why)); });
        connect(page, &PreferencesPage::stored, problem, [problem] { showProblem(problem, {}); });
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    resize(640, 520);

    connect(m_watcher, &SettingsWatcher::changed, this, &PreferencesWindow::reload);
    reload();
}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::reload()
{
    const Settings settings = m_interface.userDefaults().snapshot();
    for (PreferencesPage *page : std::as_const(m_pages))
        page->reload(settings);
}

void PreferencesWindow::showPage(const QString &page)
{
    if (QWidget *named = m_tabs->findChild<QWidget *>(page); named && !page.isEmpty())
        m_tabs->setCurrentWidget(named);
    show();
    raise();
    activateWindow();
}

} // namespace glimra
