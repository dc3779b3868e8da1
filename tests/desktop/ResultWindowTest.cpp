#include "AssemblyTest.h"

#include "ui/ResultWindow.h"
#include "capture/CopySelection.h"
#include "foundation/ApplicationScript.h"
#include "matching/contentType.h"
#include "platform/RunningApplications.h"
#include "ui/ActionListModel.h"
#include "ui/ActionTableView.h"
#include "ui/FileListModel.h"
#include "ui/FileTableView.h"
#include "ui/ResultListController.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QScreen>
#include <QLabel>
#include <QTabWidget>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>

#include <sys/stat.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

// The results panel in this process, on the private X server, over the program's own
// assembly: built-in matchers and actions, a file manager that writes down what it is asked.
class ResultWindowTest : public AssemblyTest
{
protected:
    void SetUp() override
    {
        AssemblyTest::SetUp();
        if (IsSkipped())
            return;
        window = std::make_unique<ResultWindow>(&delegate(), fileManager);
        delegate().setResultWindow(window.get());
    }
    void TearDown() override
    {
        window.reset();
        AssemblyTest::TearDown();
    }
    void guess(const QString &text)
    {
        delegate().guessText({{CTX_TEXT, text}, {CTX_DIR, path() + u'/'}});
    }
    // The current result as a request that asks for the panel at the pointer makes it.
    void askForThePointer()
    {
        GuessResult result = delegate().result();
        result.followPointer = true;
        delegate().setResult(result);
    }
    // The current result again, asking for tab `tab`.
    void showOnTab(qint64 tab)
    {
        GuessResult result = delegate().result();
        result.selectedTab = tab;
        delegate().setResult(result);
    }
    // A source file for a path with a line, and three files a selection names together.
    void writeSampleFiles()
    {
        writeFile(u"proj/src/main.c"_s, "int main;\n");
        for (const char *name : {"hosts", "shells", "passwd"})
            writeFile(QString::fromLatin1(name), "x");
    }
    void press(int key)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(),
                        Qt::Key(key));
    }

    std::unique_ptr<ResultWindow> window;
};

namespace {

// What a user reads where Qt shows `text`: rich text when it looks like some (tooltips,
// labels left to decide), else the characters.
QString shownText(const QString &text, Qt::TextFormat format = Qt::AutoText)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

} // namespace

TEST_F(ResultWindowTest, MarkupInTheSelectionOrAFileNameIsShownAsWritten)
{
    guess(u"<b>x</b><img src=x>"_s);
    window->showPanel();
    const auto *line = window->findChild<QLabel *>(u"contextLine"_s);
    EXPECT_EQ(shownText(line->text(), line->textFormat()), window->shownHeader());
    EXPECT_TRUE(window->contextLine().contains(u"<b>x</b><img src=x>"_s)) << window->contextLine().toStdString();

    writeFile(u"<i>x</i> & y.txt"_s, "x");
    guess(path(u"<i>x</i> & y.txt"_s));
    const QAbstractItemModel *files = window->fileTable()->model();
    ASSERT_EQ(files->rowCount(), 1);
    for (int row = 0; row < files->rowCount(); ++row) {
        const QModelIndex location = files->index(row, FileListModel::PathColumn);
        EXPECT_EQ(shownText(files->data(location, Qt::ToolTipRole).toString()), files->data(location).toString());
    }
    const QAbstractItemModel *actions = window->actionTable()->model();
    for (int row = 0; row < actions->rowCount(); ++row) {
        const QModelIndex label = actions->index(row, 0);
        EXPECT_EQ(shownText(actions->data(label, Qt::ToolTipRole).toString()), actions->data(label).toString());
    }
}

namespace {

// The text a cell shows, read back: without its break opportunities, with "⏎" and the
// pictures of control characters as the characters they stand for.
QString readBack(const QString &shown)
{
    QString text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t c = shown.at(i).unicode();
        if (c == 0x23ce) {
            text += u'\n';
            if (i + 1 < shown.size() && shown.at(i + 1) == u'\n')
                ++i;
        } else if (c >= 0x2400 && c < 0x2420) {
            text += QChar(c - 0x2400);
        } else if (c != 0x200b) {
            text += QChar(c);
        }
    }
    return text;
}

// Whether the style lays `index` out without cutting a line short with "…": every line of
// its text, wrapped at the cell's width as an item view wraps it, fits that width, and the
// row is as high as all of them.
bool shownUncut(const QTableView &view, const QModelIndex &index)
{
    QString text = index.data().toString();
    text.replace(u'\n', QChar::LineSeparator);
    const QFontMetricsF metrics(view.font());
    const qreal width = view.visualRect(index).width() - 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    QTextLayout layout(text, view.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    bool fits = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        fits = fits && line.naturalTextWidth() <= width;
        height += line.height();
    }
    layout.endLayout();
    return fits && view.rowHeight(index.row()) >= height;
}

} // namespace

TEST_F(ResultWindowTest, TheRunRowShowsEveryCharacterOfTheCommand)
{
    const QString word(300, u'a');
    const struct {
        const char *what;
        QString command;
    } cases[] = {
        {"a word longer than the row", u"echo %1;echo>hidden;%1"_s.arg(word)},
        {"blank lines that push a part down", u"echo hello"_s + QString(38, u'\n') + u"echo>hidden"_s},
        {"tabs, carriage returns and escapes", u"echo hi\t\r\x1b[2K;echo>hidden"_s},
        {"short words joined by no-break spaces", (u"echo\u00a0hidden;"_s).repeated(30)},
        {"a short command", u"echo hello"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        guess(u'`' + c.command + u'`');
        window->showPanel();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->grab(); // lays the rows out now
        const QAbstractItemModel *actions = window->actionTable()->model();
        ASSERT_TRUE(actions->data(actions->index(0, 0)).toString().startsWith(u"Run "_s));
        const QModelIndex detail = actions->index(0, 1);
        EXPECT_EQ(readBack(detail.data().toString()), c.command);
        EXPECT_FALSE(detail.data().toString().contains(u'\t')) << "control characters are shown as pictures";
        EXPECT_TRUE(shownUncut(*window->actionTable(), detail));
        // (A rich text's plain text has a space for a no-break space.)
        EXPECT_EQ(readBack(shownText(detail.data(Qt::ToolTipRole).toString())),
                  QString(c.command).replace(QChar(0xa0), u' '));
    }
}

TEST_F(ResultWindowTest, AnActionThatFailsSaysWhyOnItsRowAndThePanelStays)
{
    setDefault(u"hide_after_action"_s, true);
    fileManager->failure = u"xdg-open exited with status 3: no application is set up to open it"_s;
    guess(u"https://example.org"_s);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_Return); // open
    const QAbstractItemModel *actions = window->actionTable()->model();
    EXPECT_EQ(actions->data(actions->index(0, 0)).toString(), u"Open https://example.org"_s);
    EXPECT_EQ(actions->data(actions->index(0, 1)).toString(),
              u"failed: xdg-open exited with status 3: no application is set up to open it"_s);
    // Marked by the warning icon, in the palette's own colours that the theme keeps readable.
    EXPECT_FALSE(actions->data(actions->index(0, 1), Qt::DecorationRole).value<QIcon>().pixmap(16, 16).isNull());
    EXPECT_FALSE(actions->data(actions->index(0, 1), Qt::ForegroundRole).isValid());
    EXPECT_TRUE(window->isVisible());

    // Without a panel to show it, a notification says it.
    notifier->notifications.clear();
    window->hidePanel();
    delegate().executeAction(delegate().result().actions.first());
    EXPECT_EQ(notifier->notifications,
              QStringList{u"CommandError|open|xdg-open exited with status 3: no application is set up to open it"_s});
}

TEST_F(ResultWindowTest, ThePanelFollowsTheControllerAndTheKeyboardRunsWhatItShows)
{
    writeFile(u"notes.txt"_s, "x");
    delegate().setExplaining(true);
    guess(u"notes.txt"_s);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(window->contextLine(), u"File · "_s + path(u"notes.txt"_s));
    EXPECT_EQ(window->currentTabIdentifier(), u"actions"_s);
    EXPECT_EQ(QApplication::focusWidget(), window->actionTable());

    press(Qt::Key_2); // the second action: reveal
    EXPECT_EQ(fileManager->calls, QStringList{u"reveal "_s + path(u"notes.txt"_s)});
    press(Qt::Key_Return); // the first row is chosen: open
    EXPECT_EQ(fileManager->calls.last(), u"open file://"_s + path(u"notes.txt"_s));

    // Tab switches tabs; the user's pick is never written back; the controller's is shown.
    press(Qt::Key_Tab);
    EXPECT_EQ(window->currentTabIdentifier(), u"files"_s);
    EXPECT_EQ(delegate().result().selectedTab, 1);
    press(Qt::Key_Return); // opens the chosen file
    EXPECT_EQ(fileManager->calls.last(), u"open file://"_s + path(u"notes.txt"_s));
    press(Qt::Key_Tab); // why the guess came out so; the digits run nothing there
    EXPECT_EQ(window->currentTabIdentifier(), u"why"_s);
    EXPECT_TRUE(window->whyText().contains(u"  matched     FileMatch (built-in, "_s)) << window->whyText().toStdString();
    EXPECT_TRUE(window->findChild<QLabel *>(u"whyHeading"_s)->text().startsWith(u"For plug-in writers"_s));
    const qsizetype calls = fileManager->calls.size();
    press(Qt::Key_1);
    EXPECT_EQ(fileManager->calls.size(), calls);
    showOnTab(0);
    EXPECT_EQ(window->currentTabIdentifier(), u"actions"_s);
    showOnTab(5);
    EXPECT_EQ(window->currentTabIdentifier(), u"files"_s);

    press(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    // "hide_after_action" hides the panel once the action ran (read by the next guess).
    setDefault(u"hide_after_action"_s, true);
    guess(u"notes.txt"_s);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ResultWindowTest, APopupBesideThePointerNeverCoversItAndStaysOnTheScreen)
{
    const QRect available(0, 20, 1280, 780);
    const QSize size(400, 300);
    const int gap = ResultWindow::PointerGap;
    const struct
    {
        const char *where;
        QPoint pointer;
        QPoint topLeft;
    } beside[] = {
        {"below and to the right", {100, 100}, {100 + gap, 100 + gap}},
        {"at the top left corner", {0, 20}, {gap, 20 + gap}},
        {"at the top right corner", {1279, 20}, {1279 - gap - 399, 20 + gap}},
        {"at the bottom left corner", {0, 799}, {gap, 799 - gap - 299}},
        {"at the bottom right corner", {1279, 799}, {1279 - gap - 399, 799 - gap - 299}},
        {"beside the right edge", {1000, 300}, {1000 - gap - 399, 300 + gap}},
    };
    for (const auto &row : beside) {
        const QRect placed = ResultWindow::placedBesidePointer(size, row.pointer, available);
        EXPECT_EQ(placed.topLeft(), row.topLeft) << row.where;
        EXPECT_TRUE(available.contains(placed)) << row.where;
        EXPECT_FALSE(placed.contains(row.pointer)) << row.where;
    }
    // Centred on the pointer, for those who ask for it, and kept inside.
    const QRect frame(QPoint(), size);
    const struct
    {
        QPoint pointer;
        QPoint topLeft;
    } centred[] = {
        {available.center(), available.center() - QPoint(200, 150)},
        {available.topLeft(), available.topLeft()},
        {available.bottomRight(), available.bottomRight() - QPoint(399, 299)},
    };
    for (const auto &row : centred)
        EXPECT_EQ(ResultWindow::placedAtPointer(frame, row.pointer, available).topLeft(), row.topLeft);
}

TEST_F(ResultWindowTest, WithThePointerUnknownThePanelGoesToTheScreenOfTheFrontWindow)
{
    // Two screens side by side, a third below the second, as a Wayland compositor lays
    // out its outputs.
    const QList<QRect> screens = {{0, 0, 1280, 800}, {1280, 0, 1920, 1080}, {1280, 1080, 1920, 1080}};
    const struct
    {
        const char *window;
        QRect geometry;
        int screen;
    } rows[] = {
        {"inside the first screen", {100, 100, 600, 400}, 0},
        {"inside the second screen", {1500, 200, 800, 600}, 1},
        {"across the edge, its centre on the second", {1000, 100, 800, 400}, 1},
        {"across the edge, its centre on the first", {800, 100, 800, 400}, 0},
        {"on the screen below", {1300, 1200, 400, 300}, 2},
        {"its centre off every screen, mostly on the second", {1100, 700, 400, 500}, 1},
        {"wholly off every screen", {-2000, -2000, 300, 200}, -1},
        {"unknown (a null rectangle)", {}, -1},
        {"empty, at a point of the second screen", {1500, 500, 0, 0}, -1},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ResultWindow::screenShowing(row.geometry, screens), row.screen) << row.window;
    EXPECT_EQ(ResultWindow::screenShowing({100, 100, 600, 400}, {}), -1) << "no screens at all";

    // A request's panel there is centred on the front window's screen; here (one screen) the
    // window given off every screen falls back to the primary one, never to the stale pointer.
    window->setPointerUnknown(true);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect front : {QRect(10, 10, 300, 200), QRect(-5000, -5000, 10, 10), QRect()}) {
        QCursor::setPos(available.bottomRight());
        guess(u"words"_s);
        GuessResult result = delegate().result();
        result.followPointer = true;
        result.frontWindow = front;
        delegate().setResult(result);
        window->showPanel();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Qt may learn the placed position a moment after the window is exposed, from the
        // window manager's configure notification; on a busy machine it reports 0,0 until then.
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->geometry().center() == available.center(); }, 2000))
            << "front window at " << front.x() << "," << front.y() << "; the panel centred at "
            << window->geometry().center().x() << "," << window->geometry().center().y();
        window->hidePanel();
    }
}

TEST_F(ResultWindowTest, InAWaylandSessionAnotherApplicationTakingTheFocusHidesThePanel)
{
    // What the compositor names active, and whether the panel stays: the panel's own window
    // and the application the selection came from (which sway names again once the panel
    // is up) keep it; any other application hides it, and only in a Wayland session.
    const struct
    {
        const char *what;
        bool wayland;
        QString windowClass;
        bool stays;
    } rows[] = {
        {"another application", true, u"org.example.Other"_s, false},
        {"the panel's own window, by this program's name", true, QCoreApplication::applicationName(), true},
        {"the application the selection came from", true, u"org.example.Source"_s, true},
        {"an application the compositor does not name", true, QString(), true},
        {"another application, in an X11 session", false, u"org.example.Other"_s, true},
    };
    for (const auto &row : rows) {
        window->setPointerUnknown(row.wayland);
        delegate().guessText({{CTX_TEXT, u"words"_s}, {CTX_APPID, u"org.example.Source"_s}});
        window->showPanel();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << row.what;
        window->otherApplicationActivated(row.windowClass);
        EXPECT_EQ(window->isVisible(), row.stays) << row.what;
        window->hidePanel();
    }
    window->setPointerUnknown(false);
}

TEST_F(ResultWindowTest, AShortcutOpensThePopupBesideThePointerTheTrayWhereItWas)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    guess(u"words"_s);
    window->showPanel(); // the tray, or `glimra show`: no request marked it
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(available.contains(window->frameGeometry()));
    window->move(40, 40);
    const QPoint before = window->pos();
    window->showPanel();
    EXPECT_EQ(window->pos(), before);

    for (const QPoint pointer : {available.center(), available.topLeft(), available.bottomRight(),
                                 QPoint(available.right(), available.top()), QPoint(available.left(), available.bottom())}) {
        QCursor::setPos(pointer);
        askForThePointer();
        window->showPanel();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->pos() != before; }, 3000));
        EXPECT_TRUE(available.contains(window->frameGeometry())) << pointer.x() << "," << pointer.y();
        EXPECT_FALSE(window->frameGeometry().contains(pointer)) << pointer.x() << "," << pointer.y();
    }

    setDefault(u"popup_close_to_mouse"_s, true);
    guess(u"words"_s); // settings apply from the next guess
    QCursor::setPos(available.center());
    askForThePointer();
    window->showPanel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().contains(available.center()); }, 3000));
    EXPECT_TRUE(available.contains(window->frameGeometry()));
}

TEST_F(ResultWindowTest, ThePopupHasNoFrameAndGoesWhenAnotherWindowIsClicked)
{
    guess(u"words"_s);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QString id = QString::number(window->winId());
    // The window manager says what frame it gave the window once it manages it.
    QString extents;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        extents = output(u"/usr/bin/xprop"_s, {u"-id"_s, id, u"_NET_FRAME_EXTENTS"_s});
        return extents.contains(u'=');
    }, 5000)) << extents.toStdString();
    // The window manager's word is the one that counts: Qt reads the same property only some
    // time later, and on a loaded server not within seconds.
    EXPECT_TRUE(extents.trimmed().endsWith(u"= 0, 0, 0, 0"_s)) << extents.toStdString();

    // Another window comes up while the panel is away: the window manager may give it the
    // focus, and the panel, shown again, opens where it was and takes the focus back.
    window->hidePanel();
    QWidget other;
    other.setWindowTitle(u"other"_s);
    other.setGeometry(QRect(window->geometry().right() + 40, 100, 200, 150));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QTest::qWaitFor([&] { return other.isActiveWindow(); }, 1000);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_FALSE(window->frameGeometry().intersects(other.frameGeometry()));
    const QPoint inOther = other.geometry().center();
    output(u"/usr/bin/xdotool"_s, {u"mousemove"_s, QString::number(inOther.x()), QString::number(inOther.y()),
                                   u"click"_s, u"1"_s});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));

    // Escape hides it too.
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ResultWindowTest, AFolderEntryListsItsContentsFirstInTheContextMenu)
{
    for (const int count : {15, 16, 20})
        for (int i = 0; i < count; ++i)
            writeFile(u"f%1/entry%2"_s.arg(count).arg(i, 2, 10, QChar(u'0')), "");
    QDir().mkpath(path(u"f0"_s));
    writeFile(u"plain.txt"_s, "");
    guess(u"f15 f16 f20 f0 plain.txt"_s);
    FileTableView *table = window->fileTable();
    ASSERT_EQ(table->model()->rowCount(), 5);

    const struct
    {
        int row;
        int entries;
        bool more;
    } rows[] = {{0, 15, false}, {1, 16, true}, {2, 16, true}, {3, 0, false}};
    for (const auto &row : rows) {
        table->selectRow(row.row);
        const QList<QAction *> items = table->menuForEvent({})->actions();
        ASSERT_EQ(items.size(), 5); // folder, separator, Open, Reveal, Copy
        ASSERT_TRUE(items[0]->menu());
        EXPECT_EQ(items[0]->text(), u"f%1"_s.arg(row.entries == 16 ? (row.row == 1 ? 16 : 20) : row.entries));
        EXPECT_TRUE(items[1]->isSeparator());
        const QList<QAction *> entries = items[0]->menu()->actions();
        EXPECT_EQ(entries.size(), row.entries + (row.more ? 1 : 0));
        if (row.more) {
            EXPECT_EQ(entries.last()->text(), u"..."_s);
            EXPECT_FALSE(entries.last()->isEnabled());
        }
        if (row.entries > 0) {
            EXPECT_EQ(shownText(entries.first()->toolTip()), entries.first()->data().toString());
            table->openFileFromMenu(entries.first());
            EXPECT_EQ(fileManager->calls.last(), u"open file://"_s + entries.first()->data().toString());
        }
    }
    // A file entry: the usual items only; the folder entry of the last menu is gone.
    table->selectRow(4);
    const QList<QAction *> items = table->menuForEvent({})->actions();
    EXPECT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), u"Open"_s);
}

TEST_F(ResultWindowTest, DraggedAndCopiedEntriesCarryPathsOrAddresses)
{
    auto entry = [](const QString &filePath, const QString &url) {
        FileObject file;
        file.setFilePath(filePath);
        file.setUrlPath(url);
        return file;
    };
    const FileObject a = entry(u"/p/a b.txt"_s, u"file:///p/a%20b.txt"_s);
    const FileObject b = entry(u"/p/b"_s, u"file:///p/b"_s);
    const FileObject web = entry(QString(), u"https://example.org/x"_s);

    const struct
    {
        QList<FileObject> entries;
        QList<QUrl> urls;
        QString text;
    } rows[] = {
        {{a}, {QUrl::fromLocalFile(u"/p/a b.txt"_s)}, u"/p/a b.txt"_s},
        {{web}, {QUrl(u"https://example.org/x"_s)}, u"https://example.org/x"_s},
        {{a, b, web}, {QUrl::fromLocalFile(u"/p/a b.txt"_s), QUrl::fromLocalFile(u"/p/b"_s)},
         u"/p/a b.txt\n/p/b\nhttps://example.org/x"_s},
        {{web, a}, {QUrl(u"https://example.org/x"_s)}, u"https://example.org/x\n/p/a b.txt"_s},
    };
    for (const auto &row : rows) {
        std::unique_ptr<QMimeData> dragged(ResultListController::dragData(row.entries));
        EXPECT_EQ(dragged->urls(), row.urls);
        EXPECT_EQ(dragged->text(), row.text);
        EXPECT_EQ(ResultListController::text(row.entries), row.text);
    }
    EXPECT_EQ(ResultListController::text({}), u""_s);

    window->fileTable()->copyFiles({a, web});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"/p/a b.txt\nhttps://example.org/x"_s);
}

TEST_F(ResultWindowTest, LateSearchHitsAppearInTheOpenPanel)
{
    writeFile(u"one.txt"_s, "");
    guess(u"one.txt"_s);
    window->showPanel();
    FileTableView *table = window->fileTable();
    table->selectRow(0);
    FileObject hit;
    hit.setFilePath(u"/elsewhere/src/found.c"_s);
    hit.setLabel(u"found.c"_s);
    delegate().addResultFiles({hit});
    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->index(1, FileListModel::NameColumn).data().toString(), u"found.c"_s);
    EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), 0); // the user's row stays
}

namespace {

class OneActiveApplication : public RunningApplications
{
public:
    QList<RunningApplication> runningApplications() const override
    {
        RunningApplication editor;
        editor.windowClass = u"Editor"_s;
        editor.name = u"Editor"_s;
        editor.active = true;
        return {editor};
    }
};

// Its application script: a report with the application's name.
class EditorReport : public ApplicationScript
{
public:
    QVariant call(const QString &, const QJsonArray &, QString *) const override
    {
        return QVariantMap{{u"APP_NAME"_s, u"Editor"_s}};
    }
};

} // namespace

TEST_F(ResultWindowTest, TheContextLineShowsTheSelectionAsTextAndSaysWhenItWasCut)
{
    // Read as markup, the first would load an endless device, the second wait on a FIFO
    // for a writer that never comes.
    const QString fifo = path(u"fifo"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &selected : {u"<img src=/dev/zero>"_s, u"<img src=%1>"_s.arg(fifo)}) {
        guess(selected);
        window->showPanel();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->grab(); // lays out and paints it now
        EXPECT_EQ(window->findChild<QLabel *>(u"contextLine"_s)->textFormat(), Qt::PlainText);
        EXPECT_EQ(window->contextLine(), u"Text · "_s + selected);
    }

    // A clipboard longer than the capture limit, in an application that is active.
    window.reset();
    platform.runningApplications = std::make_shared<OneActiveApplication>();
    platform.applicationScripts.insert(u"Editor"_s, std::make_shared<EditorReport>());
    assembly = std::make_unique<MainInterface>(platform, std::make_shared<UserDefaults>(), nullptr);
    window = std::make_unique<ResultWindow>(&delegate(), fileManager);
    setDefault(u"capture_limit_mib"_s, 1);
    platform.clipboard->setText(QString(3 * 1024 * 1024, u'x'));
    delegate().guessCurrentClipboard();
    EXPECT_EQ(delegate().result().selectionContext.value(CTX_TEXT).size(), 1024 * 1024);
    EXPECT_TRUE(window->contextLine().endsWith(u"; the selection was cut to its first 1 MiB"_s))
        << window->contextLine().toStdString();
    guess(u"short"_s);
    EXPECT_FALSE(window->contextLine().contains(u"cut"_s));
}

TEST_F(ResultWindowTest, TheHeaderSaysWhatWasFoundOnOneLineCutOnlyWhereItDoesNotFit)
{
    writeSampleFiles();
    const struct
    {
        QString selected;
        QString header;
    } rows[] = {
        {path(u"proj/src/main.c"_s) + u":42"_s, u"File · "_s + path(u"proj/src/main.c"_s) + u", line 42"_s},
        {u"hosts shells passwd"_s, u"3 files · "_s},
        {u"https://example.org/a?b=c"_s, u"Web address · https://example.org/a?b=c"_s},
        {u"2*(3+4)"_s, u"Calculation · 2*(3+4) = 14"_s},
        {u"`date`"_s, u"Command · `date`"_s},
        {u"serendipity"_s, u"Text · serendipity"_s},
        {u"one two  three"_s, u"Text · one two three"_s},
        {u"one\ntwo"_s, u"Nothing recognised · one two"_s},
    };
    window->resize(900, 300);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto *label = window->findChild<QLabel *>(u"contextLine"_s);
    for (const auto &row : rows) {
        guess(row.selected);
        window->grab(); // lays it out now
        EXPECT_TRUE(window->contextLine().startsWith(row.header)) << row.selected.toStdString() << " -> " << window->contextLine().toStdString();
        // Whole where it fits: no ellipsis where nothing was cut.
        EXPECT_EQ(window->shownHeader(), window->contextLine());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }

    // A long path in a narrow panel loses its middle; the kind, the name and the line stay.
    writeFile(u"a/very/long/folder/name/that/goes/on/and/on/for/a/while/main.c"_s, "x");
    guess(path(u"a/very/long/folder/name/that/goes/on/and/on/for/a/while/main.c"_s) + u":7"_s);
    window->resize(320, 300);
    window->grab();
    const QString shown = window->shownHeader();
    EXPECT_TRUE(shown.startsWith(u"File · "_s)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(u"main.c, line 7"_s)) << shown.toStdString();
    EXPECT_EQ(shown.count(QChar(0x2026)), 1) << shown.toStdString();
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(shown), label->contentsRect().width());
    EXPECT_FALSE(window->contextLine().contains(QChar(0x2026)));
}

TEST_F(ResultWindowTest, EachActionIsARowWithAnIconAndATitleAndTheLikelyOneComesFirst)
{
    qputenv("VISUAL", "vim");
    writeFile(u"proj/src/main.c"_s, "int main;\n");
    const struct
    {
        QString selected;
        QStringList titles;
    } rows[] = {
        {path(u"proj/src/main.c"_s) + u":42"_s,
         {u"Open main.c at line 42 in Vim"_s, u"Open main.c"_s, u"Show in file manager"_s}},
        {u"2*(3+4)"_s, {u"Paste 14"_s, u"Copy 14"_s, u"Search Google for “2*(3+4)”"_s}},
        {u"serendipity"_s, {u"Search Google for “serendipity”"_s, u"Find files named “serendipity”"_s}},
        {u"https://example.org/a?b=c"_s, {u"Open https://example.org/a?b=c"_s}},
        {u"`date`"_s, {u"Run `date`"_s}},
    };
    for (const auto &row : rows) {
        guess(row.selected);
        const auto *actions = static_cast<const ActionListModel *>(window->actionTable()->model());
        QStringList titles;
        for (int i = 0; i < actions->rowCount() && titles.size() < row.titles.size(); ++i) {
            titles.append(actions->titleAt(i));
            const QIcon icon = actions->data(actions->index(i, 0), Qt::DecorationRole).value<QIcon>();
            EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << titles.last().toStdString();
        }
        EXPECT_EQ(titles, row.titles) << row.selected.toStdString();
    }
    // The label stays the action's identity: scripts and --run go by it.
    guess(u"2*(3+4)"_s);
    EXPECT_EQ(delegate().result().actions.first()->label(), u"paste"_s);
    qunsetenv("VISUAL");
}

TEST_F(ResultWindowTest, TypedLettersNarrowTheRowsBackspaceWidensAndEnterRunsTheFirst)
{
    writeFile(u"notes.txt"_s, "x");
    guess(u"notes.txt"_s);
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto *actions = static_cast<const ActionListModel *>(window->actionTable()->model());
    const int all = actions->rowCount();
    ASSERT_GE(all, 3);

    QTest::keyClicks(QApplication::focusWidget(), u"sho"_s);
    EXPECT_EQ(window->filter(), u"sho"_s);
    const int narrowed = actions->rowCount();
    EXPECT_LT(narrowed, all);
    EXPECT_EQ(actions->titleAt(0), u"Show in file manager"_s);
    EXPECT_EQ(window->actionTable()->currentIndex().row(), 0);
    press(Qt::Key_Backspace);
    EXPECT_EQ(window->filter(), u"sh"_s);
    EXPECT_GE(actions->rowCount(), narrowed);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(actions->rowCount(), all);
    QTest::keyClicks(QApplication::focusWidget(), u"file m"_s);
    EXPECT_EQ(actions->titleAt(0), u"Show in file manager"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(fileManager->calls.last(), u"reveal "_s + path(u"notes.txt"_s));

    // Digits pick rows until a letter is typed; then they narrow like letters. The files
    // narrow too, and a new guess shows everything again.
    guess(u"notes.txt"_s);
    EXPECT_TRUE(window->filter().isEmpty());
    const qsizetype calls = fileManager->calls.size();
    press(Qt::Key_1);
    EXPECT_EQ(fileManager->calls.size(), calls + 1);
    QTest::keyClicks(QApplication::focusWidget(), u"x1#"_s); // no temporary folder has "#"
    EXPECT_EQ(window->filter(), u"x1#"_s);
    EXPECT_EQ(fileManager->calls.size(), calls + 1);
    EXPECT_EQ(actions->rowCount(), 0);
    EXPECT_EQ(window->fileTable()->model()->rowCount(), 0);
    guess(u"notes.txt"_s);
    EXPECT_EQ(actions->rowCount(), all);
    EXPECT_EQ(window->fileTable()->model()->rowCount(), 1);
}

TEST_F(ResultWindowTest, EachFrameOfATraceIsARowThatOpensAtItsOwnLine)
{
    writeFile(u"proj/app/models.py"_s, "\n");
    writeFile(u"proj/app/main.py"_s, "\n");
    const QString opened = path(u"opened"_s);
    const QString editor = writeFile(u"bin/editor"_s, "#!/bin/sh\necho \"$@\" >> '" + opened.toUtf8() + "'\n", true);
    setDefault(u"editor_command"_s, editor + u" {file}:{line}"_s);
    delegate().guessText({{CTX_TEXT, u"Traceback (most recent call last):\n"
                                     "  File \"app/main.py\", line 10, in <module>\n"
                                     "  File \"app/models.py\", line 214, in save\n"
                                     "  File \"app/models.py\", line 230, in check\n"
                                     "  File \"app/models.py\", line 214, in save\n"_s},
                          {CTX_DIR, path(u"proj"_s) + u'/'}});
    // In the order of the text; a file at two lines is two rows, a frame repeated is one.
    QStringList rows;
    for (int row = 0; row < window->fileTable()->model()->rowCount(); ++row)
        rows.append(window->fileTable()->model()->index(row, FileListModel::NameColumn).data().toString());
    EXPECT_EQ(rows, (QStringList{u"main.py, line 10"_s, u"models.py, line 214"_s, u"models.py, line 230"_s}));

    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_Tab);
    ASSERT_EQ(window->currentTabIdentifier(), u"files"_s);
    press(Qt::Key_3);
    // The editor writes its line once started: wait for all of it.
    QString written;
    const bool whole = QTest::qWaitFor([&] {
        QFile file(opened);
        written = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        return written.endsWith(u'\n');
    }, 5000);
    EXPECT_TRUE(whole) << written.toStdString();
    EXPECT_EQ(written.trimmed(), path(u"proj/app/models.py"_s) + u":230"_s);
}

TEST_F(ResultWindowTest, InSwedishTheHeaderAndEveryTitleAreSwedishWhileTheLabelsStay)
{
    // English again for the tests after this one, whatever this one finds.
    const auto english = qScopeGuard([] { Translations::install(QLocale::c()); });
    ASSERT_TRUE(Translations::install(QLocale(u"sv_SE"_s))) << Translations::folder().toStdString();
    qputenv("VISUAL", "vim");
    const auto noEditor = qScopeGuard([] { qunsetenv("VISUAL"); });
    writeSampleFiles();
    const struct
    {
        QString selected;
        QString header;
        QStringList titles;
        QString label;
    } rows[] = {
        {path(u"proj/src/main.c"_s) + u":42"_s, u"Fil · "_s + path(u"proj/src/main.c"_s) + u", rad 42"_s,
         {u"Öppna main.c på rad 42 i Vim"_s, u"Öppna main.c"_s, u"Visa i filhanteraren"_s}, u"open at line"_s},
        {u"2*(3+4)"_s, u"Beräkning · 2*(3+4) = 14"_s,
         {u"Klistra in 14"_s, u"Kopiera 14"_s, u"Sök efter ”2*(3+4)” på Google"_s}, u"paste"_s},
        {u"hosts shells passwd"_s, u"3 filer · "_s, {u"Öppna 3 filer"_s}, u"open"_s},
        {u"serendipity"_s, u"Text · serendipity"_s,
         {u"Sök efter ”serendipity” på Google"_s, u"Hitta filer som heter ”serendipity”"_s}, u"search"_s},
    };
    for (const auto &row : rows) {
        guess(row.selected);
        EXPECT_TRUE(window->contextLine().startsWith(row.header)) << window->contextLine().toStdString();
        const auto *actions = static_cast<const ActionListModel *>(window->actionTable()->model());
        QStringList titles;
        for (int i = 0; i < actions->rowCount() && titles.size() < row.titles.size(); ++i)
            titles.append(actions->titleAt(i));
        EXPECT_EQ(titles, row.titles) << row.selected.toStdString();
        EXPECT_EQ(delegate().result().actions.first()->label(), row.label) << "labels are identities";
    }
}

TEST_F(ResultWindowTest, InSwedishAFailedActionSaysWhyInSwedishWhileItsOutcomeStaysEnglish)
{
    const auto english = qScopeGuard([] { Translations::install(QLocale::c()); });
    ASSERT_TRUE(Translations::install(QLocale(u"sv_SE"_s))) << Translations::folder().toStdString();
    // A command from a terminal whose folder was removed: where it was meant to run is unknown.
    const QString gone = path(u"gone/notes.txt"_s);
    delegate().guessText({{CTX_TEXT, u"`date`"_s}, {CTX_PATH, gone}});
    const ActionPtr run = delegate().result().actions.value(0);
    ASSERT_TRUE(run && run->label() == u"run"_s);

    // What `glimra match --run` prints and the log keeps.
    std::optional<Outcome> outcome;
    delegate().executeAction(run, [&](const Outcome &ended) { outcome = ended; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000));
    EXPECT_FALSE(outcome->ok);
    EXPECT_EQ(outcome->message, u"the folder of %1 cannot be entered: it no longer exists"_s.arg(gone));

    // What the panel's row says.
    window->showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_Return);
    const QAbstractItemModel *actions = window->actionTable()->model();
    const auto detail = [&] { return actions->data(actions->index(0, 1)).toString(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return detail().startsWith(u"misslyckades"_s); }, 5000));
    EXPECT_EQ(detail(), u"misslyckades: mappen för %1 går inte att öppna: den finns inte längre"_s.arg(gone));
}
