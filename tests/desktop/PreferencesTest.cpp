#include "AssemblyTest.h"

#include "app/ActionOrder.h"
#include "ui/AutostartEntry.h"
#include "ui/IntroPanel.h"
#include "ui/NewPluginDialog.h"
#include "ui/PluginsPage.h"
#include "ui/PreferencesWindow.h"
#include "ui/RuleKeyDelegate.h"
#include "ui/RulesPage.h"
#include "ui/SearchPage.h"
#include "platform/Predicate.h"
#include "ui/ShortcutSettings.h"
#include "ui/SettingsTable.h"
#include "ui/Translations.h"
#include "ui/UserEditor.h"
#include "desktop/DesktopDoctor.h"
#include "foundation/Paths.h"
#include "matching/PluginManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>

#include <functional>

#include <sys/stat.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

// The preferences window in this process, over the program's own assembly and the real
// settings file of the test's home.
class PreferencesTest : public AssemblyTest
{
protected:
    void SetUp() override
    {
        AssemblyTest::SetUp();
        if (IsSkipped())
            return;
        window = std::make_unique<PreferencesWindow>(*assembly, [this](const QString &key, const QKeySequence &) {
            triedShortcuts.append(key);
            return key.endsWith(u"clipboard"_s) ? u"another program holds it"_s : QString();
        });
        window->showPage(u"general"_s);
    }
    void TearDown() override
    {
        window.reset();
        AssemblyTest::TearDown();
    }
    QJsonValue stored(const QString &key) { return UserDefaults().objectForKey(key); }
    template <typename T>
    T *find(const QString &name) { return window->findChild<T *>(name); }
    SettingsTable *tableOf(const QString &page) { return find<QWidget>(page)->findChild<SettingsTable *>(); }
    void fill(SettingsTable *table, const QStringList &cells)
    {
        table->findChild<QPushButton *>()->click(); // Add
        const int row = table->table()->rowCount() - 1;
        for (int column = 0; column < cells.size(); ++column)
            table->table()->item(row, column)->setText(cells.at(column));
    }

    std::unique_ptr<PreferencesWindow> window;
    QStringList triedShortcuts;
};

TEST_F(PreferencesTest, AKeyDeletedElsewhereIsNeverWrittenBackByTheOpenWindow)
{
    const QList<std::pair<QString, QJsonValue>> values = {
        {u"hide_after_action"_s, true},
        {u"popup_close_to_mouse"_s, true},
        {u"shortcut_guess_selection"_s, u"Ctrl+Alt+Y"_s},
        {u"user_context_configuration"_s, QJsonObject{{u"CTX_X"_s, u"1"_s}}},
        {u"regexp_matchers"_s, QJsonArray{QJsonObject{{u"matched_key"_s, u"ACT_T"_s}, {u"regexp"_s, u"x"_s}}}},
        {u"search_exclusion_filter"_s, u"extension == 'o'"_s}};
    for (const auto &[key, value] : values)
        setDefault(key, value);
    window->showPage(u"general"_s);
    QTest::qWait(300); // the window hears of the change
    for (const auto &[key, value] : values) {
        for (const QString &page : {u"general"_s, u"rules"_s, u"context"_s, u"search"_s})
            window->showPage(page);
        ASSERT_TRUE(UserDefaults().removeObjectForKey(key));
        QTest::qWait(300);
        for (const QString &page : {u"general"_s, u"rules"_s, u"context"_s, u"search"_s})
            window->showPage(page);
        window->close();
        QTest::qWait(100);
        EXPECT_TRUE(stored(key).isUndefined()) << key.toStdString();
        window->showPage(u"general"_s);
    }
}

TEST_F(PreferencesTest, TheOtherShortcutsKeysAreRefusedAndTheFieldShowsWhatIsStored)
{
    ShortcutSettings::install();
    auto *clipboardKey = find<QKeySequenceEdit>(u"shortcut_guess_clipboard"_s);
    clipboardKey->setKeySequence(QKeySequence(u"Meta+Alt+G"_s)); // the selection's default
    emit clipboardKey->editingFinished();
    UserDefaults::setValidator(nullptr);
    EXPECT_TRUE(stored(u"shortcut_guess_clipboard"_s).isUndefined());
    EXPECT_EQ(clipboardKey->keySequence(), QKeySequence(u"Meta+Alt+C"_s));
    EXPECT_TRUE(find<QLabel>(u"shortcut_guess_clipboard_problem"_s)->text().contains(u"already the shortcut to guess the selection"_s))
        << find<QLabel>(u"shortcut_guess_clipboard_problem"_s)->text().toStdString();
}

TEST_F(PreferencesTest, EveryPageWritesWhatTheUserChangesAndNothingThatDoesNotParse)
{
    find<QWidget>(u"general"_s)->findChildren<QCheckBox *>().at(0)->setChecked(true);
    find<QWidget>(u"general"_s)->findChildren<QCheckBox *>().at(1)->setChecked(true);
    EXPECT_EQ(stored(u"hide_after_action"_s), QJsonValue(true));
    EXPECT_EQ(stored(u"popup_close_to_mouse"_s), QJsonValue(true));
    // Learning the order is on until the user turns it off; Forget removes the counts.
    auto *learn = find<QCheckBox>(Settings::LearnActionOrderKey);
    EXPECT_TRUE(learn->isChecked());
    learn->setChecked(false);
    EXPECT_EQ(stored(Settings::LearnActionOrderKey), QJsonValue(false));
    ASSERT_TRUE(ActionOrder().record(u"file"_s, u"reveal"_s));
    find<QPushButton>(u"forget_action_order"_s)->click();
    EXPECT_FALSE(QFile::exists(ActionOrder().filePath()));

    auto *selectionKey = find<QKeySequenceEdit>(u"shortcut_guess_selection"_s);
    selectionKey->setKeySequence(QKeySequence(u"Ctrl+Alt+Y"_s));
    emit selectionKey->editingFinished();
    EXPECT_EQ(stored(u"shortcut_guess_selection"_s), QJsonValue(u"Ctrl+Alt+Y"_s));
    auto *clipboardKey = find<QKeySequenceEdit>(u"shortcut_guess_clipboard"_s);
    clipboardKey->setKeySequence(QKeySequence(u"Ctrl+Alt+U"_s));
    emit clipboardKey->editingFinished();
    EXPECT_EQ(triedShortcuts, (QStringList{u"shortcut_guess_selection"_s, u"shortcut_guess_clipboard"_s}));
    EXPECT_TRUE(find<QLabel>(u"shortcut_guess_clipboard_problem"_s)->text().contains(u"another program holds it"_s));
    EXPECT_TRUE(find<QLabel>(u"shortcut_guess_selection_problem"_s)->isHidden());

    fill(tableOf(u"context"_s), {u"CTX_DIRx"_s, u"/projects"_s});
    EXPECT_EQ(stored(u"user_context_configuration"_s), QJsonValue(QJsonObject{{u"CTX_DIRx"_s, u"/projects"_s}}));

    fill(tableOf(u"rules"_s), {u"ACT_TICKET"_s, u""_s, u"^[A-Z]+-\\d+$"_s});
    const QJsonValue rules = stored(u"regexp_matchers"_s);
    EXPECT_EQ(rules.toArray().first().toObject().value(u"regexp"_s), u"^[A-Z]+-\\d+$"_s);
    // A pattern that does not compile is marked, and nothing is saved until it compiles.
    tableOf(u"rules"_s)->table()->item(0, 2)->setText(u"(unclosed"_s);
    EXPECT_EQ(stored(u"regexp_matchers"_s), rules);
    EXPECT_TRUE(find<QLabel>(u"rulesProblem"_s)->text().contains(u"Rule 1: the regexp \"(unclosed\" does not compile"_s));
    EXPECT_FALSE(tableOf(u"rules"_s)->table()->item(0, 2)->toolTip().isEmpty());
    // The row is marked by the desktop's warning sign, not by a colour a dark palette cannot carry.
    EXPECT_FALSE(tableOf(u"rules"_s)->table()->item(0, 2)->icon().isNull());
    EXPECT_EQ(tableOf(u"rules"_s)->table()->item(0, 2)->background().style(), Qt::NoBrush);

    auto *filter = find<QPlainTextEdit>(u"filter"_s);
    filter->setPlainText(u"extension == 'o'"_s);
    EXPECT_EQ(stored(u"search_exclusion_filter"_s), QJsonValue(u"extension == 'o'"_s));
    filter->setPlainText(u"extension =="_s);
    EXPECT_EQ(stored(u"search_exclusion_filter"_s), QJsonValue(u"extension == 'o'"_s));
    EXPECT_FALSE(find<QLabel>(u"filterProblem"_s)->isHidden());
}

TEST_F(PreferencesTest, TheRuleTesterAnswersWhatAGuessAnswers)
{
    window->showPage(u"rules"_s);
    fill(tableOf(u"rules"_s), {u"ACT_URL"_s, u"https://tracker.example/$1"_s, u"^([A-Z]+-\\d+)$"_s});
    fill(tableOf(u"rules"_s), {u"ACT_NEVER"_s, u""_s, u"^zzz$"_s});
    window->rulesPage()->setSample(u"ABC-12"_s);
    const QString report = window->rulesPage()->testerReport();
    EXPECT_TRUE(report.contains(u"Rule 1 matches: ACT_URL = https://tracker.example/ABC-12"_s)) << report.toStdString();
    EXPECT_TRUE(report.contains(u"Rule 2 does not match."_s));

    const GlimraRun run = runGlimra({u"match"_s, u"--json"_s, u"--wait"_s, u"0"_s, u"--text"_s, u"ABC-12"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList labels;
    for (const QJsonValue &action : run.json().value(u"actions"_s).toArray())
        labels.append(action.toObject().value(u"label"_s).toString());
    EXPECT_TRUE(report.contains(u"The guess: looks like %1."_s.arg(run.json().value(u"contentType"_s).toString())))
        << report.toStdString();
    EXPECT_TRUE(report.contains(u"Actions: %1."_s.arg(labels.join(u", "_s)))) << report.toStdString();

    // A pattern that does not compile is said to, not said not to match.
    tableOf(u"rules"_s)->table()->item(1, 2)->setText(u"(unclosed"_s);
    window->rulesPage()->setSample(u"ABC-12"_s);
    EXPECT_TRUE(window->rulesPage()->testerReport().contains(u"Rule 2 does not compile: the regexp \"(unclosed\" does not compile"_s))
        << window->rulesPage()->testerReport().toStdString();
}

TEST_F(PreferencesTest, AChangeMadeElsewhereShowsInTheOpenWindow)
{
    auto *hide = find<QWidget>(u"general"_s)->findChildren<QCheckBox *>().at(0);
    ASSERT_FALSE(hide->isChecked());
    // Another program writes the settings file (as `glimra defaults write` does).
    UserDefaults().setObject(u"hide_after_action"_s, true);
    UserDefaults().setObject(u"search_exclusion_filter"_s, u"filename BEGINSWITH '~'"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return hide->isChecked(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return find<QPlainTextEdit>(u"filter"_s)->toPlainText() == u"filename BEGINSWITH '~'"_s; }, 5000));
    // The window's next change keeps what the other program wrote.
    find<QWidget>(u"general"_s)->findChildren<QCheckBox *>().at(1)->setChecked(true);
    EXPECT_EQ(stored(u"search_exclusion_filter"_s), QJsonValue(u"filename BEGINSWITH '~'"_s));
}

TEST_F(PreferencesTest, AShortcutFieldWritesOnlyKeysTheUserRecorded)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto *selectionKey = find<QKeySequenceEdit>(u"shortcut_guess_selection"_s);
    auto *clipboardKey = find<QKeySequenceEdit>(u"shortcut_guess_clipboard"_s);
    // The focus enters and leaves a field as it does when the user tabs or clicks through;
    // a field may say its edit ended whenever it loses the focus.
    auto passThrough = [](QKeySequenceEdit *field) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        emit field->editingFinished();
    };

    // Neither key is stored: passing through both writes neither.
    passThrough(selectionKey);
    passThrough(clipboardKey);
    EXPECT_TRUE(stored(u"shortcut_guess_selection"_s).isUndefined()) << stored(u"shortcut_guess_selection"_s).toString().toStdString();
    EXPECT_TRUE(stored(u"shortcut_guess_clipboard"_s).isUndefined()) << stored(u"shortcut_guess_clipboard"_s).toString().toStdString();

    // A key deleted elsewhere while its field has the focus stays deleted.
    setDefault(u"shortcut_guess_clipboard"_s, u"Ctrl+Alt+J"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clipboardKey->keySequence() == QKeySequence(u"Ctrl+Alt+J"_s); }, 5000));
    clipboardKey->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(UserDefaults().removeObjectForKey(u"shortcut_guess_clipboard"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return clipboardKey->keySequence() == QKeySequence(u"Meta+Alt+C"_s); }, 5000));
    passThrough(clipboardKey);
    window->close();
    EXPECT_TRUE(stored(u"shortcut_guess_clipboard"_s).isUndefined());

    // What the user records is written.
    clipboardKey->setKeySequence(QKeySequence(u"Ctrl+Alt+K"_s));
    emit clipboardKey->editingFinished();
    EXPECT_EQ(stored(u"shortcut_guess_clipboard"_s), QJsonValue(u"Ctrl+Alt+K"_s));
}

TEST_F(PreferencesTest, AChangeTheSettingsFileRefusesIsSaidAndNotShownAsMade)
{
    auto *hide = find<QWidget>(u"general"_s)->findChildren<QCheckBox *>().at(0);
    auto *limit = find<QSpinBox>(u"capture_limit_mib"_s);
    auto *problem = find<QLabel>(u"settingsProblem"_s);
    const QString file = UserDefaults().filePath();
    const struct {
        const char *what;
        std::function<void()> spoil;
    } cases[] = {
        {"a file cut short", [&] { writeFile(file, "{\"hide_after_action\": true,"); }},
        {"a FIFO where the file was", [&] {
             QFile::remove(file);
             ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        for (const std::function<void()> &change : std::initializer_list<std::function<void()>>{
                 [&] { hide->setChecked(true); }, [&] { limit->setValue(9); }}) {
            change();
            EXPECT_FALSE(problem->isHidden());
            EXPECT_TRUE(problem->text().startsWith(u"Not saved: "_s + file)) << problem->text().toStdString();
            EXPECT_TRUE(problem->text().contains(u"not changed"_s)) << problem->text().toStdString();
            // The window shows what is in force, not the change that was not made.
            EXPECT_TRUE(QTest::qWaitFor([&] { return !hide->isChecked() && limit->value() == 8; }, 5000));
        }
        QFile::remove(file);
    }
    // Written again: the message goes.
    hide->setChecked(true);
    EXPECT_EQ(stored(u"hide_after_action"_s), QJsonValue(true));
    EXPECT_TRUE(problem->isHidden());
}

TEST_F(PreferencesTest, StartingAtLoginWritesAndRemovesTheAutostartEntry)
{
    auto *login = find<QCheckBox>(u"start_at_login"_s);
    login->setChecked(true);
    QFile entry(AutostartEntry::path());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    // By its absolute path: $PATH at login is not the one of now.
    EXPECT_TRUE(entry.readAll().contains("\nExec=" + AutostartEntry::program().toUtf8() + "\n"));
    EXPECT_TRUE(AutostartEntry::program().startsWith(u'/'));
    EXPECT_TRUE(AutostartEntry::program().endsWith(u"/glimra"_s));
    EXPECT_EQ(AutostartEntry::path(), path(u"config/autostart/org.glimra.Glimra.desktop"_s));
    login->setChecked(false);
    EXPECT_FALSE(QFile::exists(AutostartEntry::path()));
}

TEST_F(PreferencesTest, TheCaptureLimitIsSetInMebibytesWithinItsRange)
{
    auto *limit = find<QSpinBox>(u"capture_limit_mib"_s);
    ASSERT_TRUE(limit);
    EXPECT_EQ(limit->value(), 8); // the default, unset
    EXPECT_TRUE(stored(u"capture_limit_mib"_s).isUndefined());
    limit->setValue(2);
    EXPECT_EQ(stored(u"capture_limit_mib"_s), QJsonValue(2));
    limit->setValue(100);
    EXPECT_EQ(stored(u"capture_limit_mib"_s), QJsonValue(16)); // the most answers fit on the bus with
    UserDefaults().setObject(u"capture_limit_mib"_s, 4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return limit->value() == 4; }, 5000));
}

TEST(AutostartEntryTest, TheExecLineNamesTheProgramByItsPathQuotedWhereItMustBe)
{
    const QByteArray entry = "[Desktop Entry]\nName=Glimra\nExec=glimra\nTryExec=glimra\n";
    const struct
    {
        QString program;
        QByteArray exec;
    } rows[] = {
        {u"/usr/bin/glimra"_s, "Exec=/usr/bin/glimra"},
        {u"/home/me/my apps/glimra"_s, R"(Exec="/home/me/my apps/glimra")"},
        {u"/opt/$HOME\\100%/glimra"_s, R"(Exec="/opt/\$HOME\\100%%/glimra")"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(AutostartEntry::withProgram(entry, row.program),
                  "[Desktop Entry]\nName=Glimra\n" + row.exec + "\nTryExec=glimra\n")
            << row.program.toStdString();
    }
    EXPECT_EQ(AutostartEntry::withProgram("Exec=glimra %U\n", u"/b/glimra"_s), "Exec=/b/glimra %U\n");
}

TEST_F(PreferencesTest, ShowTheFolderSaysWhenNoFileManagerCanShowIt)
{
    window->showPage(u"plugins"_s);
    auto *problem = find<QLabel>(u"folderProblem"_s);
    QPushButton *show = nullptr;
    for (QPushButton *button : find<QWidget>(u"plugins"_s)->findChildren<QPushButton *>())
        show = button->text() == u"Show the &Folder"_s ? button : show;
    ASSERT_TRUE(show);
    fileManager->failure = u"xdg-open exited with status 3: no application is set up to open it"_s;
    show->click();
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(problem->text(), PluginManager::userPluginsDir()
                                   + u" cannot be shown: xdg-open exited with status 3: no application is set up to open it"_s);
    fileManager->failure.clear();
    show->click();
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(fileManager->calls.size(), 2);
}

TEST_F(PreferencesTest, ANewPluginIsMadeFromItsTemplateUnlessItsNameIsRefused)
{
    writeFile(u"bin/recording-editor"_s, "#!/bin/sh\necho \"$@\" > '" + path(u"edited"_s).toUtf8() + "'\n", true);
    qputenv("VISUAL", path(u"bin/recording-editor"_s).toLocal8Bit());
    NewPluginDialog dialog(NewPluginDialog::Role::Matcher, assembly->pluginManager(), fileManager);
    dialog.nameField()->setText(u"a/b"_s);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open
    EXPECT_TRUE(dialog.findChild<QLabel *>()->text().isEmpty() == false);
    EXPECT_TRUE(QDir(PluginManager::userPluginsDir()).isEmpty());

    dialog.nameField()->setText(u"Colour"_s);
    dialog.kindField()->setCurrentIndex(2); // shell
    dialog.accept();
    qunsetenv("VISUAL");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.createdFile(), PluginManager::userPluginsDir() + u"/ColourMatcher.sh"_s);
    QFile edited(path(u"edited"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return edited.size() > 0; }, 5000));
    ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
    EXPECT_EQ(edited.readAll().trimmed(), dialog.createdFile().toUtf8());
    // It is in the lists at once, and works as its template says.
    const QList<QTreeWidgetItem *> listed =
        window->pluginsPage()->matcherList()->findItems(u"ColourMatcher.sh"_s, Qt::MatchExactly);
    EXPECT_EQ(listed.size(), 1);
    assembly->appDelegate().guessText({{CTX_TEXT, u"#ff8800"_s}});
    EXPECT_EQ(assembly->appDelegate().result().matchedContext.value(ACT_TEXT), u"rgb(255, 136, 0)"_s);
}

TEST_F(PreferencesTest, ThePluginsPageSaysWhatEachDoesAndNeverShowsAClassName)
{
    writeFile(u"data/glimra/plugins/TicketMatcher.sh"_s, "#!/bin/sh\n", true);
    writeFile(u"data/glimra/plugins/MailAction.handler"_s, "#!/bin/sh\n", true);
    setDefault(u"regexp_matchers"_s, QJsonArray{QJsonObject{
        {u"matched_key"_s, u"ACT_TICKET"_s}, {u"matched_value"_s, u""_s}, {u"regexp"_s, u"^T-\\d+$"_s}}});
    assembly->appDelegate().refreshPlugins(); // on the next turn of the event loop
    window->showPage(u"plugins"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !window->pluginsPage()->matcherList()->findItems(u"TicketMatcher.sh"_s, Qt::MatchExactly).isEmpty(); },
        5000));
    const struct
    {
        QTreeWidget *list;
        QString name;
        QString kind;
    } rows[] = {
        {window->pluginsPage()->matcherList(), u"Words"_s, u"Built in"_s},
        {window->pluginsPage()->matcherList(), u"Calculator (bc)"_s, u"Built in"_s},
        {window->pluginsPage()->matcherList(), u"File paths"_s, u"Built in"_s},
        {window->pluginsPage()->matcherList(), u"Web addresses"_s, u"Built in"_s},
        {window->pluginsPage()->matcherList(), u"Backticked commands"_s, u"Built in"_s},
        {window->pluginsPage()->matcherList(), u"Desktop file search"_s, u"Built in"_s},
        {window->pluginsPage()->matcherList(), u"TicketMatcher.sh"_s, u"Shell plug-in"_s},
        {window->pluginsPage()->matcherList(), u"Rule for ACT_TICKET"_s, u"Rule"_s},
        {window->pluginsPage()->actionList(), u"Paste"_s, u"Built in"_s},
        {window->pluginsPage()->actionList(), u"Open"_s, u"Built in"_s},
        {window->pluginsPage()->actionList(), u"Show in file manager"_s, u"Built in"_s},
        {window->pluginsPage()->actionList(), u"Web search"_s, u"Built in"_s},
        {window->pluginsPage()->actionList(), u"Find files"_s, u"Built in"_s},
        {window->pluginsPage()->actionList(), u"Open at line"_s, u"Built in"_s},
        {window->pluginsPage()->actionList(), u"MailAction.handler"_s, u"Handler script"_s},
    };
    for (const auto &row : rows) {
        const QList<QTreeWidgetItem *> found = row.list->findItems(row.name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << row.name.toStdString();
        EXPECT_EQ(found.first()->text(1), row.kind) << row.name.toStdString();
        EXPECT_FALSE(found.first()->text(2).isEmpty()) << row.name.toStdString();
    }
    // No class name anywhere the user reads; the action that never offers anything is left out.
    QStringList classNames;
    for (const MatcherPtr &matcher : assembly->pluginManager().allMatchers(UserDefaults().snapshot()))
        if (matcher->scriptFile().isEmpty()) // a plug-in's name is its file's
            classNames.append(matcher->name());
    for (const ActionPtr &action : assembly->pluginManager().actionList())
        if (action->scriptFile().isEmpty())
            classNames.append(action->name());
    classNames += {u"RegExpMatcher"_s, u"SHPluginMatcher"_s, u"HandlerScriptAction"_s};
    ASSERT_TRUE(classNames.contains(u"EMailAction"_s));
    EXPECT_EQ(window->pluginsPage()->actionList()->topLevelItemCount(),
              assembly->pluginManager().actionList().size() - 1);
    for (QTreeWidget *list : {window->pluginsPage()->matcherList(), window->pluginsPage()->actionList()})
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            for (int column = 0; column < list->columnCount(); ++column)
                for (const QString &className : std::as_const(classNames))
                    EXPECT_FALSE(list->topLevelItem(row)->text(column).contains(className))
                        << list->topLevelItem(row)->text(column).toStdString();
}

TEST_F(PreferencesTest, AWebSearchAddressIsSavedOnlyWhenItCanServeAndTheFilterExamplesParse)
{
    window->showPage(u"search"_s);
    auto *address = find<QLineEdit>(u"web_search_url"_s);
    const QString duck = u"https://duckduckgo.com/?q={query}"_s;
    const struct
    {
        QString typed;
        QJsonValue stored;
        bool problem;
    } rows[] = {
        {duck, duck, false},
        {u"https://duckduckgo.com/?q="_s, duck, true},     // no {query}: nothing saved
        {u"file:///tmp/{query}"_s, duck, true},            // not http(s)
        {u"  http://search.example/?s={query}  "_s, u"http://search.example/?s={query}"_s, false},
        {u""_s, QJsonValue(QJsonValue::Undefined), false}, // empty: the default again
    };
    for (const auto &row : rows) {
        address->setText(row.typed);
        emit address->textEdited(row.typed);
        EXPECT_EQ(stored(u"web_search_url"_s), row.stored) << row.typed.toStdString();
        EXPECT_EQ(!find<QLabel>(u"web_search_url_problem"_s)->isHidden(), row.problem) << row.typed.toStdString();
    }
    for (const auto &[example, meaning] : SearchPage::filterExamples()) {
        QString error;
        EXPECT_TRUE(Predicate::predicateWithFormat(example, &error)) << example.toStdString() << ": " << error.toStdString();
        EXPECT_FALSE(meaning.isEmpty());
    }
}

TEST_F(PreferencesTest, TheRuleKeyColumnOffersTheKnownKeysWithWhatEachFeedsAndStoresTheKeyAlone)
{
    window->showPage(u"rules"_s);
    fill(tableOf(u"rules"_s), {u""_s, u""_s, u"^T-\\d+$"_s});
    QTableWidget *table = tableOf(u"rules"_s)->table();
    table->editItem(table->item(0, 0));
    auto *combo = table->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    for (const auto &[key, feeds] : RuleKeyDelegate::knownKeys()) {
        const int row = combo->findData(key);
        ASSERT_GE(row, 0) << key.toStdString();
        EXPECT_TRUE(combo->itemText(row).startsWith(key) && combo->itemText(row).endsWith(feeds)) << key.toStdString();
    }
    const struct
    {
        QString chosen; // a key from the list, or typed
        QString stored;
    } rows[] = {{ACT_URL, ACT_URL}, {u"ACT_TICKET"_s, u"ACT_TICKET"_s}};
    for (const auto &row : rows) {
        const int listed = combo->findData(row.chosen);
        if (listed >= 0) {
            combo->setCurrentIndex(listed);
            emit combo->activated(listed);
        } else {
            combo->setEditText(row.chosen);
        }
        emit table->itemDelegateForColumn(0)->commitData(combo);
        EXPECT_EQ(stored(u"regexp_matchers"_s).toArray().first().toObject().value(u"matched_key"_s), row.stored);
    }
}

TEST_F(PreferencesTest, TheHelpPanelShowsTheManualAndTheActionsInstalled)
{
    writeFile(userPluginsDir() + u"/NoteAction.sh"_s, "echo note\n");
    assembly->pluginManager().refreshPlugins();
    IntroPanel help(&assembly->pluginManager());
    help.goToManualDocument();
    EXPECT_TRUE(help.documentText().contains(u"Meta+Alt+G"_s));
    help.goToActionsDocument();
    EXPECT_TRUE(help.documentText().contains(u"open at line"_s));
    EXPECT_TRUE(help.documentText().contains(userPluginsDir() + u"/NoteAction.sh"_s));
}

TEST_F(PreferencesTest, InSwedishWhatThePagesSayIsSwedishWhileTheCommandLinesWordsStayEnglish)
{
    // English again for the tests after this one, whatever this one finds.
    const auto english = qScopeGuard([] { Translations::install(QLocale::c()); });
    ASSERT_TRUE(Translations::install(QLocale(u"sv_SE"_s))) << Translations::folder().toStdString();

    // The other shortcut's keys: refused in Swedish on the page, in English for `glimra defaults write`.
    auto *clipboardKey = find<QKeySequenceEdit>(u"shortcut_guess_clipboard"_s);
    clipboardKey->setKeySequence(QKeySequence(u"Meta+Alt+G"_s));
    emit clipboardKey->editingFinished();
    const QString shown = find<QLabel>(u"shortcut_guess_clipboard_problem"_s)->text();
    EXPECT_TRUE(shown.contains(u"gissa markeringen"_s)) << shown.toStdString();
    EXPECT_TRUE(ShortcutSettings::problem(u"shortcut_guess_clipboard"_s, u"Meta+Alt+G"_s, {})
                    .contains(u"is already the shortcut to guess the selection"_s));

    // The failure to start at login names the file it could not write, in Swedish.
    ASSERT_TRUE(QDir().mkpath(configHomeDir()));
    QFile blocker(configHomeDir() + u"/autostart"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)) << "a file where the folder is expected";
    blocker.close();
    QString error;
    EXPECT_FALSE(AutostartEntry::setEnabled(true, &error));
    EXPECT_TRUE(error.contains(u"kan inte skrivas"_s)) << error.toStdString();

    // No editor for a new plug-in: the dialog says it in Swedish, the command line in English.
    const QString noEditor = u"there is no editor: set VISUAL or EDITOR"_s;
    EXPECT_EQ(UserEditor::shownMessage(noEditor), u"det finns ingen redigerare: ange VISUAL eller EDITOR"_s);
    EXPECT_EQ(UserEditor::shownMessage(u"vim: not found"_s), u"vim: not found"_s) << "others' words stay as they are";

    // Each line of the desktop's summary, as the General page and `glimra doctor` show it.
    for (const Capability &capability : DesktopDoctor::examine({}).capabilities) {
        EXPECT_TRUE(capability.line().contains(capability.answered ? u", answered"_s : u", did not answer"_s))
            << capability.line().toStdString();
        EXPECT_TRUE(capability.shownLine().contains(capability.answered ? u", svarade"_s : u", svarade inte"_s))
            << capability.shownLine().toStdString();
        EXPECT_FALSE(capability.shownLine().startsWith(capability.name + u':'))
            << "the capability is named in Swedish: " << capability.shownLine().toStdString();
    }
}
