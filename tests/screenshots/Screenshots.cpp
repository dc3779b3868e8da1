// Renders Glimra's windows with sample content into PNG files, so that a person can look
// at them: ./dev.sh screenshots (on a private Xvfb with a window manager).
#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "ui/DesktopApplication.h"
#include "ui/GeneralPage.h"
#include "ui/IntroPanel.h"
#include "desktop/DesktopDoctor.h"
#include "ui/PreferencesWindow.h"
#include "matching/PluginManager.h"
#include "ui/RulesPage.h"
#include "ui/SettingsTable.h"
#include "ui/ResultWindow.h"
#include "platform/MemoryClipboard.h"
#include "platform/UserDefaults.h"
#include "ui/FileListModel.h"
#include "ui/FileTableView.h"
#include "ui/ActionTableView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeySequenceEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <cstdio>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

QString outputFolder;

// Lets the window manager map and decorate, and the widgets paint.
void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QTest::qWait(50);
    }
}

// The screen around `area` (decorations and open menus included), saved as NAME.png.
void shoot(const QString &name, QRect area)
{
    settle();
    area.adjust(-24, -40, 24, 24);
    area &= QGuiApplication::primaryScreen()->geometry();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                       area.width(), area.height());
    const QString file = outputFolder + u'/' + name + u".png"_s;
    std::printf("%s %s\n", shot.save(file) ? "wrote" : "could not write", qPrintable(file));
}

QRect frameOf(const QWidget &widget)
{
    return widget.frameGeometry();
}

// A dark theme as a desktop sets one: Fusion with light text on dark grey.
QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2e), base(0x1e, 0x1e, 0x20), text(0xe8, 0xe8, 0xe8);
    for (const auto &[role, colour] : {std::pair{QPalette::Window, window}, {QPalette::WindowText, text},
                                       {QPalette::Base, base}, {QPalette::AlternateBase, window},
                                       {QPalette::Text, text}, {QPalette::Button, window},
                                       {QPalette::ButtonText, text}, {QPalette::ToolTipBase, base},
                                       {QPalette::ToolTipText, text}, {QPalette::Highlight, QColor(0x3d, 0x6e, 0xb4)},
                                       {QPalette::HighlightedText, QColor(Qt::white)},
                                       {QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a)},
                                       {QPalette::Link, QColor(0x7a, 0xb4, 0xf5)}})
        palette.setColor(role, colour);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(u"Glimra"_s);
    outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"screenshots"_s;
    // "scale-2", run with QT_SCALE_FACTOR=2: the popups alone, as a HiDPI screen shows them.
    const bool scaled = argc > 2 && qstrcmp(argv[2], "scale-2") == 0;
    const QString suffix = scaled ? u"-scale-2"_s : QString();
    QDir().mkpath(outputFolder);

    // A home of its own, with a project whose files the guesses name.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + u"/config"_s).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + u"/data"_s).toLocal8Bit());
    const QString project = home.path() + u"/glimra-project"_s;
    QDir().mkpath(project + u"/src/widgets"_s);
    for (const QString &file : {u"src/main.c"_s, u"src/main.h"_s, u"README.md"_s, u"Makefile"_s})
        QFile(project + u'/' + file).open(QIODevice::WriteOnly);
    for (int i = 1; i <= 20; ++i)
        QFile(project + u"/src/widgets/widget%1.cpp"_s.arg(i, 2, 10, QChar(u'0'))).open(QIODevice::WriteOnly);

    Platform platform;
    platform.clipboard = std::make_shared<MemoryClipboard>();
    MainInterface assembly(platform, std::make_shared<UserDefaults>(), nullptr);
    AppDelegate &delegate = assembly.appDelegate();
    ResultWindow window(&delegate, nullptr);
    delegate.setResultWindow(&window);
    window.move(80, 80);
    delegate.setExplaining(true);

    // The popup as a shortcut opens it: beside the pointer, which is in the picture.
    const QPoint pointer(scaled ? 60 : 320, scaled ? 40 : 220);
    auto popUp = [&](const QString &text) {
        window.hide();
        QCursor::setPos(pointer);
        delegate.guessText({{CTX_TEXT, text}, {CTX_DIR, project + u'/'}});
        GuessResult asked = delegate.result(); // as a shortcut asks: beside the pointer
        asked.followPointer = true;
        delegate.setResult(asked);
        window.showPanel();
        settle();
        return frameOf(window) | QRect(pointer - QPoint(16, 16), QSize(32, 32));
    };
    if (scaled) {
        shoot(u"popup-path-line"_s + suffix, popUp(u"src/main.c:42"_s));
        shoot(u"popup-calculation"_s + suffix, popUp(u"2*(3+4)"_s));
        return 0;
    }

    delegate.guessText({{CTX_TEXT, u"src/main.c:12"_s}, {CTX_DIR, project + u'/'}});
    window.showPanel();
    shoot(u"panel-actions"_s, frameOf(window));
    QTabWidget *tabs = window.findChild<QTabWidget *>();
    tabs->setCurrentWidget(window.findChild<QWidget *>(u"why"_s));
    settle();
    shoot(u"panel-why"_s, frameOf(window));
    tabs->setCurrentIndex(0);

    // A command between backticks: offered to run, shown whole, never run by the guess.
    delegate.guessText({{CTX_TEXT, u"`find src -name '*.c' | xargs grep -l main; echo and a long tail that must show "
                                   u"whole: rm -rf build`"_s},
                        {CTX_DIR, project + u'/'}});
    window.showPanel();
    shoot(u"panel-run"_s, frameOf(window));

    delegate.guessText({{CTX_TEXT, u"see src/widgets and README.md, Makefile"_s}, {CTX_DIR, project + u'/'}});
    GuessResult onFiles = delegate.result();
    onFiles.selectedTab = GuessResult::FilesTab;
    delegate.setResult(onFiles);
    window.showPanel();
    FileTableView *files = window.fileTable();
    files->setFocus();
    files->selectRow(0);
    settle();
    QMenu *menu = files->menuForEvent(files->visualRect(files->model()->index(0, 0)).center());
    menu->popup(files->viewport()->mapToGlobal(files->visualRect(files->model()->index(0, 0)).center()));
    settle();
    menu->setActiveAction(menu->actions().first());
    QTest::keyClick(menu, Qt::Key_Right); // opens the folder's submenu
    settle();
    QRect area = frameOf(window);
    for (QWidget *popup : QApplication::topLevelWidgets()) {
        if (popup->isVisible() && qobject_cast<QMenu *>(popup))
            area |= popup->frameGeometry();
    }
    shoot(u"panel-files-folder-menu"_s, area);
    menu->hide();

    const QString deep = project + u"/src/widgets"_s;
    delegate.guessText({{CTX_TEXT, deep + u"/widget07.cpp "_s + deep + u"/widget08.cpp https://example.org/a/very/long/address/of/a/page?with=query"_s}});
    window.showPanel();
    shoot(u"panel-long-context"_s, frameOf(window));
    window.hide();

    shoot(u"popup-path-line"_s, popUp(u"src/main.c:42"_s));
    shoot(u"popup-calculation"_s, popUp(u"2*(3+4)"_s));
    shoot(u"popup-url"_s, popUp(u"https://example.org/a?b=c"_s));
    shoot(u"popup-three-files"_s, popUp(u"README.md Makefile src/main.h"_s));
    const QRect narrowed = popUp(u"src/main.c:42"_s);
    QTest::keyClicks(window.actionTable(), u"shw"_s);
    shoot(u"popup-filter-narrowed"_s, narrowed);
    window.hide();

    // The preferences: one rule that works, one whose pattern does not compile, and the
    // tester showing a match.
    UserDefaults().setObject(u"regexp_matchers"_s,
                             QJsonArray{QJsonObject{{u"matched_key"_s, u"ACT_URL"_s},
                                                    {u"matched_value"_s, u"https://tracker.example.com/browse/$1"_s},
                                                    {u"regexp"_s, u"^([A-Z][A-Z0-9]+-\\d+)$"_s}}});
    UserDefaults().setObject(u"user_context_configuration"_s, QJsonObject{{u"CTX_DIRx"_s, project}});
    UserDefaults().setObject(u"search_exclusion_filter"_s, u"dirname CONTAINS '/.git' OR extension IN {'o', 'pyc'}"_s);
    UserDefaults().setObject(u"web_search_url"_s, u"https://duckduckgo.com/?q={query}"_s);
    // A plug-in of the user's, listed by its file name and kind.
    QDir().mkpath(PluginManager::userPluginsDir());
    QFile plugin(PluginManager::userPluginsDir() + u"/TicketMatcher.sh"_s);
    if (plugin.open(QIODevice::WriteOnly))
        plugin.write("#!/bin/sh\n");
    plugin.close();
    plugin.setPermissions(plugin.permissions() | QFile::ExeUser);
    assembly.appDelegate().refreshPlugins();
    PreferencesWindow preferences(assembly, [](const QString &key, const QKeySequence &) {
        return key.endsWith(u"clipboard"_s) ? u"another program holds it"_s : QString();
    });
    preferences.move(60, 60);
    // The General page as a Wayland session without the shortcuts portal shows it: the bind
    // button and what it did, and the desktop's summary (this X display's, as tried).
    GeneralPage *general = preferences.generalPage();
    general->setDesktopBinding([] {
        return std::pair{u"Bound in ~/.config/sway/glimra-shortcuts (included from ~/.config/sway/config). "
                         "sway has reloaded its configuration."_s,
                         false};
    });
    general->setDesktopSummary([] {
        QStringList lines;
        for (const Capability &capability : DesktopDoctor::examine({}).capabilities)
            lines << capability.shownLine();
        return lines;
    });
    for (const QString &page : {u"general"_s, u"rules"_s, u"context"_s, u"search"_s, u"plugins"_s}) {
        preferences.showPage(page);
        if (page == u"general"_s) {
            // The clipboard's keys are held by another program; the binding was asked for.
            auto *clipboardKeys = general->findChild<QKeySequenceEdit *>(u"shortcut_guess_clipboard"_s);
            clipboardKeys->setKeySequence(QKeySequence(u"Ctrl+Alt+U"_s));
            emit clipboardKeys->editingFinished();
            general->findChild<QPushButton *>(u"bind_in_desktop"_s)->click();
        }
        if (page == u"rules"_s) {
            // The user adds a rule and types a pattern that does not compile.
            auto *rules = preferences.findChild<QWidget *>(page)->findChild<SettingsTable *>();
            rules->findChild<QPushButton *>()->click();
            rules->table()->item(1, 0)->setText(u"ACT_BROKEN"_s);
            rules->table()->item(1, 2)->setText(u"([unclosed"_s);
            rules->table()->setCurrentCell(0, 0);
            preferences.rulesPage()->setSample(u"GLM-42"_s);
        }
        shoot(u"preferences-"_s + page, frameOf(preferences));
    }
    // The keys a rule may set, each with what it feeds.
    preferences.showPage(u"rules"_s);
    QTableWidget *rulesTable = preferences.findChild<QWidget *>(u"rules"_s)->findChild<SettingsTable *>()->table();
    rulesTable->editItem(rulesTable->item(1, 0));
    if (auto *keys = rulesTable->findChild<QComboBox *>()) {
        keys->showPopup();
        settle();
        shoot(u"preferences-rules-keys"_s, frameOf(preferences) | keys->view()->window()->frameGeometry());
        keys->hidePopup();
    }
    preferences.hide();

    IntroPanel help(&assembly.pluginManager());
    help.move(60, 40);
    help.goToManualDocument();
    help.show();
    shoot(u"help-manual"_s, frameOf(help));
    help.goToActionsDocument();
    shoot(u"help-actions"_s, frameOf(help));
    help.hide();

    QMessageBox about(QMessageBox::Information, u"About Glimra"_s,
                      DesktopApplication::aboutText(u"0.1.0"_s, u"http://updates.glimra.org/glimra?t=675D9A3C"_s));
    about.setIconPixmap(QIcon(u":/org.glimra.Glimra.svg"_s).pixmap(64, 64));
    about.show();
    about.move(120, 120);
    shoot(u"about"_s, frameOf(about));
    about.hide();

    // A dark theme: the popup, an action that failed (its row marked by the warning icon),
    // and the rules page with its problem.
    QApplication::setStyle(u"Fusion"_s);
    QApplication::setPalette(darkPalette());
    shoot(u"popup-path-line-dark"_s, popUp(u"src/main.c:42"_s));
    const QRect failed = popUp(u"src/main.c"_s);
    QTest::keyClicks(window.actionTable(), u"shw"_s);
    QTest::keyClick(window.actionTable(), Qt::Key_Return); // no file manager here: it fails
    window.showPanel();
    shoot(u"popup-failed-dark"_s, failed);
    window.hide();
    preferences.showPage(u"rules"_s);
    shoot(u"preferences-rules-dark"_s, frameOf(preferences));
    preferences.showPage(u"general"_s);
    shoot(u"preferences-general-dark"_s, frameOf(preferences));
    return 0;
}
