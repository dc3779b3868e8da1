#include "Recorders.h"
#include "RecordingRunner.h"
#include "TestEnvironment.h"

#include "app/ActionOrder.h"
#include "app/AppDelegate.h"
#include "app/ResultPanel.h"
#include "actions/OpenAtLineAction.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "foundation/HandlerScript.h"
#include "matching/LateResults.h"
#include "matching/MatchingEngine.h"
#include "matching/contentType.h"
#include "platform/MemoryClipboard.h"
#include "platform/UserDefaults.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

class FixedFocus : public FocusTracker
{
public:
    FixedFocus() : FocusTracker(nullptr, nullptr, {}) {}
    std::optional<Context> contextForCurrentApp() const override { return focus; }
    std::optional<Context> focus;
};

class FixedCopy : public CopySelection
{
public:
    FixedCopy() : CopySelection(nullptr, nullptr) {}
    Capture contextForApp(const QString &windowClass, qsizetype maximumBytes) override
    {
        askedFor = windowClass;
        askedForAtMost = maximumBytes;
        return {capture, cutAt, failure, shownFailure};
    }
    std::optional<Context> capture;
    qsizetype cutAt = 0;
    QString failure;
    QString shownFailure;
    QString askedFor;
    qsizetype askedForAtMost = 0;
};

// Late results on demand.
class StubSearch : public LateResults
{
public:
    bool isSearching(quint64) const override { return false; }
    void deliver(quint64 guess, const QString &path)
    {
        FileObject file;
        file.setFilePath(path);
        emit filesFound(guess, {file});
    }
};

class CountingPanel : public ResultPanel
{
public:
    void showPanel() override { ++shown; }
    void hidePanel() override { ++hidden; }
    int shown = 0;
    int hidden = 0;
};

// An action that offers one action named `name` whose label tells what ACT_PATH was.
class PathAction : public ActionObject
{
public:
    explicit PathAction(QString name) : ActionObject(std::move(name)) {}
    ActionList actionsForContext(const Context &context) override
    {
        if (!context.contains(ACT_PATH) && !context.contains(ACT_WORDS))
            return {};
        auto offer = std::make_shared<PathAction>(name());
        offer->setLabel(name() + u":"_s + context.value(ACT_PATH));
        return {offer};
    }
    void execute(const Context &context, const Completion &done) override
    {
        executedWith = context;
        complete(done);
    }
    Context executedWith;
};

} // namespace

class AppDelegateTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        defaults.emplace(); // in this test's own settings folder
        makeDelegate(copy);
        plugins.matchers = {std::make_shared<FunctionMatcher>(u"Words"_s, [](Context &c) {
            c.insert(ACT_WORDS, c.value(CTX_TEXT));
            if (c.value(CTX_TEXT).startsWith(u"files"_s))
                c.insert(ACT_PATHS, u"/a\n/b"_s);
            if (c.value(CTX_TEXT).startsWith(u"one file"_s))
                c.insert(ACT_PATHS, u"/a"_s);
            return true;
        })};
        plugins.actions = {std::make_shared<PathAction>(u"Alpha"_s),
                           std::make_shared<PathAction>(u"Beta"_s)};
        focus.focus = Context{{CTX_APPID, u"Geany"_s}, {CTX_APP_NAME, u"Geany"_s},
                              {CTX_TEXT, u"focus text"_s}};
    }
    // A controller that captures with `copySelection`, in place of the one there was.
    void makeDelegate(CopySelection &copySelection)
    {
        delegate.reset();
        delegate.emplace(AppDelegate::Collaborators{focus, copySelection, engine, search, *defaults,
                                                   notifier, clipboard});
        delegate->setResultWindow(&panel);
        QObject::connect(&*delegate, &AppDelegate::guessFinished, &*delegate,
                         [this](const GuessOutcome &outcome) { outcomes.append(outcome); });
    }
    // Runs a selection guess to its end.
    GuessOutcome guess(AppDelegate::Sender sender = AppDelegate::Sender::Other)
    {
        outcomes.clear();
        const quint64 id = delegate->guessCurrentSelection(sender);
        EXPECT_TRUE(outcomes.isEmpty()); // deferred to the event loop
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcomes.size() == 1; }, 5000));
        EXPECT_EQ(outcomes.value(0).guess, id);
        return outcomes.value(0);
    }
    // Lays `matched` into the current result, as a matcher that set it would have.
    void setMatchedContext(const Context &matched)
    {
        GuessResult result = delegate->result();
        result.matchedContext = matched;
        delegate->setResult(result);
    }
    QStringList labels() const
    {
        QStringList all;
        for (const ActionPtr &action : delegate->result().actions)
            all.append(action->label());
        return all;
    }

    FixedFocus focus;
    FixedCopy copy;
    FixedPlugins plugins;
    MatchingEngine engine{&plugins};
    CountingPanel panel;
    std::shared_ptr<RecordingNotifier> notifier = std::make_shared<RecordingNotifier>();
    std::shared_ptr<MemoryClipboard> clipboard = std::make_shared<MemoryClipboard>();
    std::optional<UserDefaults> defaults;
    StubSearch search;
    QList<GuessOutcome> outcomes;
    std::optional<AppDelegate> delegate;
};

TEST_F(AppDelegateTest, ASelectionGuessFromRequestToResults)
{
    copy.capture = Context{{CTX_TEXT, u"files here"_s}};
    guess();
    EXPECT_EQ(copy.askedFor, u"Geany"_s);
    EXPECT_EQ(delegate->result().selectionContext, (Context{{CTX_APPID, u"Geany"_s}, {CTX_APP_NAME, u"Geany"_s},
                                                    {CTX_TEXT, u"files here"_s}}));
    EXPECT_EQ(delegate->result().matchedContext.value(ACT_FOUND), u"Words"_s);
    EXPECT_EQ(delegate->result().files.size(), 2);
    EXPECT_EQ(delegate->result().selectedTab, 2);
    EXPECT_EQ(panel.shown, 1);
    EXPECT_EQ(notifier->notifications,
              (QStringList{u"CommandExecuted|guessing...|"_s,
                           u"CommandExecuted|got it|looks like list of files ("_s + QChar(0x2026)
                               + u"/a\n/b)"_s}));

    copy.capture = Context{{CTX_TEXT, u"one file"_s}};
    guess();
    EXPECT_EQ(delegate->result().selectedTab, 1);
}

TEST_F(AppDelegateTest, AnEmptySelectionFallsBackToTheDocument)
{
    focus.focus = Context{{CTX_APPID, u"Geany"_s}, {CTX_PATH, u"/doc/file.c"_s},
                          {CTX_URL, u"https://x.org"_s}};
    guess();
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"/doc/file.c"_s);
    EXPECT_EQ(notifier->notifications.last(),
              u"CommandError|(null)|the selection seems to be empty, returning front-most document path"_s);

    focus.focus->insert(CTX_PATH, u""_s);
    guess();
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"https://x.org"_s);
    EXPECT_TRUE(notifier->notifications.last().endsWith(u"returning front-most document URL"_s));
    EXPECT_EQ(panel.shown, 2);
    EXPECT_FALSE(notifier->notifications.join(u'\n').contains(u"got it"_s)); // no "got it"

    focus.focus = Context{{CTX_APPID, u"Geany"_s}, {CTX_APP_NAME, u"Geany"_s}};
    guess();
    EXPECT_EQ(notifier->notifications.last(), u"CommandError|Geany|the selection seems to be empty"_s);
    EXPECT_EQ(delegate->result().selectedTab, 0);
    EXPECT_EQ(panel.shown, 2);
    // The previous guess's results are kept.
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"https://x.org"_s);
}

TEST_F(AppDelegateTest, NoApplicationMeansNoContext)
{
    focus.focus = Context{{CTX_APP_NAME, u"no identifier"_s}};
    guess();
    EXPECT_EQ(notifier->notifications.last(), u"CommandError|no context|no application is active"_s);
    EXPECT_EQ(delegate->result().selectedTab, 0);
    EXPECT_EQ(panel.shown, 0);
}

TEST_F(AppDelegateTest, OnlyToolbarRequestsKeepThePanelWhereItIs)
{
    QList<bool> followed;
    QObject::connect(&*delegate, &AppDelegate::resultChanged, &*delegate,
                     [&followed](const GuessResult &result) { followed.append(result.followPointer); });
    copy.capture = Context{{CTX_TEXT, u"x"_s}};
    guess(AppDelegate::Sender::ToolbarItem);
    clipboard->setText(u"y"_s);
    delegate->guessCurrentClipboard();
    delegate->guessText({{CTX_TEXT, u"z"_s}});
    EXPECT_EQ(followed, (QList<bool>{false, true, false}));
    // The wish is for the showing the request made: what is current afterwards has it no more.
    EXPECT_FALSE(delegate->result().followPointer);
}

TEST_F(AppDelegateTest, ClipboardAndServiceGuessesReadWithoutNotifications)
{
    clipboard->setText(u"files from the clipboard"_s);
    delegate->guessCurrentClipboard();
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"files from the clipboard"_s);
    EXPECT_EQ(delegate->result().selectedTab, 1); // whatever the number of files
    MemoryClipboard request;
    request.setText(u"service text"_s);
    delegate->handleFromService(request);
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"service text"_s);
    EXPECT_TRUE(notifier->notifications.isEmpty());
    EXPECT_EQ(panel.shown, 2);

    focus.focus.reset();
    delegate->handleFromService(request); // no application: nothing changes
    EXPECT_EQ(panel.shown, 2);
}

TEST_F(AppDelegateTest, EachGuessAnnouncesItsResultOnceAndLateFilesUpdateIt)
{
    QList<GuessResult> announced;
    QObject::connect(&*delegate, &AppDelegate::resultChanged, &*delegate,
                     [&announced](const GuessResult &result) { announced.append(result); });
    copy.capture = Context{{CTX_TEXT, u"files here"_s}};
    const GuessOutcome outcome = guess();
    ASSERT_EQ(announced.size(), 1);
    const GuessResult first = announced.first();
    EXPECT_EQ(first.guess, outcome.guess);
    EXPECT_EQ(first.selectionContext.value(CTX_TEXT), u"files here"_s);
    EXPECT_EQ(first.matchedContext.value(ACT_FOUND), u"Words"_s);
    EXPECT_EQ(first.actions.size(), 2);
    EXPECT_EQ(first.files.size(), 2);
    EXPECT_EQ(first.selectedTab, GuessResult::FilesTab);
    EXPECT_TRUE(first.outcome.matched);

    FileObject late;
    late.setFilePath(u"/c"_s);
    delegate->addResultFiles({late});
    ASSERT_EQ(announced.size(), 2);
    EXPECT_EQ(announced.last().guess, first.guess) << "an update carries the guess's identity";
    EXPECT_EQ(announced.last().files.size(), 3);
    EXPECT_EQ(announced.last().selectionContext, first.selectionContext);

    delegate->guessText({{CTX_TEXT, u"given"_s}});
    ASSERT_EQ(announced.size(), 3);
    EXPECT_GT(announced.last().guess, first.guess);
    EXPECT_EQ(announced.last().selectedTab, GuessResult::ActionsTab);
}

TEST_F(AppDelegateTest, LateFilesAreAppendedAndTheFirstBecomesThePath)
{
    delegate->runMatchingEngine({{CTX_TEXT, u"src/x.c:3"_s}});
    const int shownBefore = panel.shown;
    delegate->addResultFiles({});
    EXPECT_EQ(panel.shown, shownBefore);

    Context matched = delegate->result().matchedContext;
    matched.insert(ACT_PATH_LINE, u"3"_s);
    setMatchedContext(matched);
    EXPECT_EQ(labels(), (QStringList{u"Alpha:"_s, u"Beta:"_s}));
    QList<FileObject> hits;
    for (const QString &file : {u"/p/one/src/x.c"_s, u"/p/two/src/x.c"_s, u"/p/three/src/x.c"_s}) {
        FileObject hit;
        hit.setFilePath(file);
        hits.append(hit);
    }
    GuessResult onNoTab = delegate->result();
    onNoTab.selectedTab = GuessResult::NoTab;
    delegate->setResult(onNoTab);
    delegate->addResultFiles(hits);
    EXPECT_EQ(delegate->result().files.size(), 3);
    EXPECT_EQ(delegate->result().matchedContext.value(ACT_PATH), u"/p/one/src/x.c"_s);
    // Offered actions of the same name replace the listed ones in place.
    EXPECT_EQ(labels(), (QStringList{u"Alpha:/p/one/src/x.c"_s, u"Beta:/p/one/src/x.c"_s}));
    EXPECT_EQ(delegate->result().selectedTab, 1);
    EXPECT_EQ(panel.shown, shownBefore + 1);

    matched.remove(ACT_PATH_LINE);
    setMatchedContext(matched);
    delegate->addResultFiles(hits.mid(0, 2));
    // Hits the list holds already are not listed again.
    EXPECT_EQ(delegate->result().files.size(), 3);
    EXPECT_EQ(delegate->result().selectedTab, 2);
}

TEST_F(AppDelegateTest, ActionsRunWithTheSelectionLaidOverTheMatchedContext)
{
    delegate->runMatchingEngine({{CTX_TEXT, u"words"_s}, {u"SHARED"_s, u"selection"_s}});
    Context matched = delegate->result().matchedContext;
    matched.insert(u"SHARED"_s, u"matched"_s);
    setMatchedContext(matched);
    const auto action = std::static_pointer_cast<PathAction>(delegate->result().actions.first());
    delegate->executeAction(action);
    EXPECT_EQ(action->executedWith.value(u"SHARED"_s), u"selection"_s);
    EXPECT_EQ(action->executedWith.value(ACT_WORDS), u"words"_s);
    EXPECT_EQ(panel.hidden, 0);
    setDefault(u"hide_after_action"_s, true);
    delegate->runMatchingEngine(delegate->result().selectionContext); // settings apply from the next guess
    delegate->executeAction(action);
    EXPECT_EQ(panel.hidden, 1);
}

TEST_F(AppDelegateTest, TheLastFocusedApplicationSkipsSystemAndNamelessOnes)
{
    const QVariantMap &last = delegate->applicationContext();
    delegate->applicationFocusDidChange(u"Geany"_s, u"Geany"_s);
    for (const auto &[identifier, name] : {std::pair{u"x"_s, u"System Events"_s},
                                           std::pair{u"Glimra"_s, u"Something"_s},
                                           std::pair{u"y"_s, u""_s}, std::pair{u"z"_s, u"(null)"_s},
                                           std::pair{u"w"_s, QString()}})
        delegate->applicationFocusDidChange(identifier, name);
    EXPECT_EQ(last.value(u"app_id"_s).toString(), u"Geany"_s);
    delegate->applicationFocusDidChange(QString(), u"No Identifier"_s);
    EXPECT_FALSE(last.contains(u"app_id"_s));
    EXPECT_EQ(last.value(u"app_name"_s).toString(), u"No Identifier"_s);
}

TEST_F(AppDelegateTest, EveryEntryPointEndsWithAnOutcome)
{
    using Ending = GuessOutcome::Ending;
    copy.capture = Context{{CTX_TEXT, u"words"_s}};
    GuessOutcome outcome = guess();
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_TRUE(outcome.matched);

    copy.capture.reset();
    outcome = guess();
    EXPECT_EQ(outcome.ending, Ending::EmptySelection);
    EXPECT_EQ(outcome.description, u"the selection seems to be empty"_s);

    focus.focus.reset();
    outcome = guess();
    EXPECT_EQ(outcome.ending, Ending::NoContext);
    EXPECT_EQ(outcome.title, u"no context"_s);

    // The clipboard and Services guesses end before their request returns.
    outcomes.clear();
    delegate->guessCurrentClipboard();
    focus.focus = Context{{CTX_APPID, u"Geany"_s}};
    delegate->guessCurrentClipboard();
    MemoryClipboard request;
    request.setText(u"service text"_s);
    delegate->handleFromService(request);
    plugins.matchers.clear();
    delegate->guessText({{CTX_TEXT, u"given"_s}});
    ASSERT_EQ(outcomes.size(), 4);
    EXPECT_EQ(outcomes[0].ending, Ending::NoContext);
    EXPECT_TRUE(outcomes[0].title.isEmpty()); // nobody was told
    EXPECT_EQ(outcomes[1].ending, Ending::NoText);
    EXPECT_EQ(outcomes[2].ending, Ending::Finished);
    EXPECT_TRUE(outcomes[2].matched);
    EXPECT_EQ(outcomes[3].ending, Ending::Finished);
    EXPECT_FALSE(outcomes[3].matched);
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"given"_s);
}

namespace {

// A copier that, like the real one, waits for a handler script with the event loop running.
class ScriptedCopy : public CopySelection
{
public:
    ScriptedCopy(const QString &scriptFile) : CopySelection(nullptr, nullptr), m_script(scriptFile) {}
    Capture contextForApp(const QString &, qsizetype) override
    {
        ++depth;
        maximumDepth = std::max(maximumDepth, depth);
        HandlerScript::load(m_script)->call(u"copy_selection"_s, {});
        --depth;
        return {Context{{CTX_TEXT, u"copy %1"_s.arg(++copies)}}, 0, {}, {}};
    }
    int depth = 0;
    int maximumDepth = 0;
    int copies = 0;

private:
    QString m_script;
};


} // namespace

TEST_F(AppDelegateTest, RequestsThatArriveDuringAGuessWaitAndOnlyTheNewestCaptureRuns)
{
    ScriptedCopy scripted(writeFile(u"copy.scpt"_s, "#!/bin/sh\nsleep 0.5\necho null\n", true));
    makeDelegate(scripted);
    clipboard->setText(u"from the clipboard"_s);
    outcomes.clear();
    const quint64 first = delegate->guessCurrentSelection();
    quint64 second = 0;
    quint64 third = 0;
    // Two more requests arrive while the first guess is inside the handler script.
    QTimer::singleShot(200, &*delegate, [&] {
        EXPECT_TRUE(delegate->isGuessing());
        second = delegate->guessCurrentSelection();
        third = delegate->guessCurrentClipboard();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcomes.size() == 3; }, 10000));
    EXPECT_EQ(scripted.maximumDepth, 1); // never nested
    EXPECT_EQ(outcomes[0].guess, second);
    EXPECT_EQ(outcomes[0].ending, GuessOutcome::Ending::Dropped);
    EXPECT_EQ(outcomes[1].guess, first);
    EXPECT_EQ(outcomes[1].ending, GuessOutcome::Ending::Finished);
    EXPECT_EQ(outcomes[2].guess, third);
    EXPECT_EQ(outcomes[2].ending, GuessOutcome::Ending::Finished);
    EXPECT_EQ(scripted.copies, 1);
    EXPECT_EQ(delegate->currentGuess(), third);
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"from the clipboard"_s);
}

TEST_F(AppDelegateTest, LateFilesOfAGuessNoLongerShownAreDropped)
{
    copy.capture = Context{{CTX_TEXT, u"words"_s}};
    const quint64 earlier = guess().guess;
    const quint64 later = guess().guess;
    search.deliver(earlier, u"/from/the/earlier/guess"_s);
    EXPECT_TRUE(delegate->result().files.isEmpty());
    search.deliver(later, u"/from/this/guess"_s);
    ASSERT_EQ(delegate->result().files.size(), 1);
    EXPECT_EQ(delegate->result().files.first().filePath(), u"/from/this/guess"_s);
}

TEST_F(AppDelegateTest, RequestsThatNameTheirTextAreNeverDropped)
{
    ScriptedCopy scripted(writeFile(u"copy.scpt"_s, "#!/bin/sh\nsleep 0.5\necho null\n", true));
    makeDelegate(scripted);
    outcomes.clear();
    QStringList answers;
    const quint64 first = delegate->guessCurrentSelection();
    quint64 dropped = 0;
    // Scripts' guesses and captures arrive while the first guess is inside the handler
    // script: every text is guessed, in order; only the older capture gives way.
    QTimer::singleShot(200, &*delegate, [&] {
        for (const QString &text : {u"one"_s, u"two"_s}) {
            delegate->handleGuessText(text, QString(), false, [&answers](const std::optional<Context> &answer) {
                answers.append(answer ? answer->value(ACT_WORDS) : u"(none)"_s);
            });
        }
        dropped = delegate->guessCurrentSelection();
        delegate->guessText({{CTX_TEXT, u"three"_s}});
        delegate->guessCurrentSelection();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcomes.size() == 6; }, 15000));
    EXPECT_EQ(answers, (QStringList{u"one"_s, u"two"_s}));
    QList<GuessOutcome::Ending> endings;
    for (const GuessOutcome &outcome : std::as_const(outcomes)) {
        endings.append(outcome.ending);
        if (outcome.ending == GuessOutcome::Ending::Dropped) {
            EXPECT_EQ(outcome.guess, dropped);
        }
    }
    EXPECT_EQ(endings.count(GuessOutcome::Ending::Dropped), 1);
    EXPECT_EQ(endings.count(GuessOutcome::Ending::Finished), 5);
    EXPECT_EQ(outcomes.first().guess, dropped);
    EXPECT_EQ(outcomes.at(1).guess, first);
    EXPECT_EQ(scripted.copies, 2);
}

TEST_F(AppDelegateTest, ACaptureSaysWhenItWasCutOrNotHandedOver)
{
    using Ending = GuessOutcome::Ending;
    defaults->setObject(u"capture_limit_mib"_s, 2);
    copy.capture = Context{{CTX_TEXT, u"the beginning"_s}};
    copy.cutAt = 2 * 1024 * 1024;
    GuessOutcome outcome = guess();
    EXPECT_EQ(copy.askedForAtMost, 2 * 1024 * 1024); // the setting's limit
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_EQ(outcome.cutAt, 2 * 1024 * 1024);

    // An owner that kept its selection: no fall-back to the document, and the user is told.
    focus.focus->insert(CTX_PATH, u"/the/document"_s);
    copy.capture.reset();
    copy.failure = u"did not hand over its selection within 2 s"_s;
    notifier->notifications.clear();
    outcome = guess();
    EXPECT_EQ(outcome.ending, Ending::NotHandedOver);
    EXPECT_EQ(outcome.title, u"Geany"_s);
    EXPECT_EQ(outcome.description, u"did not hand over its selection within 2 s"_s);
    EXPECT_EQ(notifier->notifications.value(1), u"CommandError|Geany|did not hand over its selection within 2 s"_s);
    // In the user's language the notification says it so; the outcome the command line
    // reports stays English.
    copy.shownFailure = u"lämnade inte över sin markering inom 2 s"_s;
    notifier->notifications.clear();
    outcome = guess();
    EXPECT_EQ(outcome.description, u"did not hand over its selection within 2 s"_s);
    EXPECT_EQ(notifier->notifications.value(1), u"CommandError|Geany|lämnade inte över sin markering inom 2 s"_s);
    copy.shownFailure.clear();

    // A limit out of range reads as the default.
    defaults->setObject(u"capture_limit_mib"_s, 1);
    EXPECT_FALSE(defaults->setObject(u"capture_limit_mib"_s, 17));
    EXPECT_FALSE(defaults->setObject(u"capture_limit_mib"_s, 1.5));
    EXPECT_EQ(Settings(QJsonObject{{u"capture_limit_mib"_s, 0}}).captureLimitBytes(), 8 * 1024 * 1024);
}

TEST_F(AppDelegateTest, TheLastTenShownGuessesCanBeShownAgainFromMemory)
{
    for (int i = 1; i <= 11; ++i) {
        copy.capture = Context{{CTX_TEXT, u"word %1"_s.arg(i)}};
        guess();
    }
    outcomes.clear();
    delegate->guessText({{CTX_TEXT, u"a script's guess, never shown"_s}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcomes.size() == 1; }, 5000));
    // Ten kept, newest first; the eleventh drops the oldest; a guess not shown is not there.
    const QList<RecentGuesses::Entry> &recent = delegate->recentGuesses();
    ASSERT_EQ(recent.size(), RecentGuesses::Kept);
    EXPECT_EQ(recent.first().selectionContext.value(CTX_TEXT), u"word 11"_s);
    EXPECT_EQ(recent.last().selectionContext.value(CTX_TEXT), u"word 2"_s);
    EXPECT_EQ(recent.first().title, contentType(recent.first().matchedContext));

    // Shown again: the panel shows it, with its actions, and it keeps its place.
    const int shown = panel.shown;
    outcomes.clear();
    delegate->showRecentGuess(4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcomes.size() == 1; }, 5000));
    EXPECT_EQ(delegate->result().selectionContext.value(CTX_TEXT), u"word 7"_s);
    EXPECT_EQ(delegate->result().matchedContext.value(ACT_WORDS), u"word 7"_s);
    EXPECT_EQ(labels(), (QStringList{u"Alpha:"_s, u"Beta:"_s}));
    EXPECT_EQ(panel.shown, shown + 1);
    EXPECT_EQ(delegate->recentGuesses().at(4).selectionContext.value(CTX_TEXT), u"word 7"_s);

    delegate->showRecentGuess(10); // none there: nothing happens
    delegate->clearRecentGuesses();
    EXPECT_TRUE(delegate->recentGuesses().isEmpty());
}

TEST_F(AppDelegateTest, APickAmongTheOffersTeachesTheOrderUnlessLearningIsOff)
{
    // A file: offered as Alpha, Beta; picking Beta puts it first for files.
    delegate->runMatchingEngine({{CTX_TEXT, u"one file"_s}});
    ASSERT_EQ(labels(), (QStringList{u"Alpha:"_s, u"Beta:"_s}));
    delegate->executeAction(delegate->result().actions.at(1));
    delegate->runMatchingEngine(delegate->result().selectionContext);
    EXPECT_EQ(labels(), (QStringList{u"Beta:"_s, u"Alpha:"_s}));
    delegate->runMatchingEngine({{CTX_TEXT, u"a text"_s}});
    EXPECT_EQ(labels(), (QStringList{u"Alpha:"_s, u"Beta:"_s})) << "another kind keeps its order";

    // An action that was not among the offers (a frame of the Files tab) teaches nothing,
    // and with learning off nothing is counted and the chain's order holds.
    auto counts = [] {
        QFile state(ActionOrder().filePath());
        return state.open(QIODevice::ReadOnly) ? state.readAll() : QByteArray();
    };
    const QByteArray before = counts();
    ASSERT_FALSE(before.isEmpty());
    delegate->executeAction(std::make_shared<PathAction>(u"Gamma"_s));
    setDefault(Settings::LearnActionOrderKey, false);
    delegate->runMatchingEngine({{CTX_TEXT, u"one file"_s}});
    EXPECT_EQ(labels(), (QStringList{u"Alpha:"_s, u"Beta:"_s}));
    delegate->executeAction(delegate->result().actions.at(0));
    EXPECT_EQ(counts(), before);
}

TEST_F(AppDelegateTest, AnEditorThatCannotBeLaunchedIsSaidNeverSilent)
{
    // The launch fails in a way no real program here can be made to (the runner says so);
    // the user hears why, and the editor was asked for in the file's folder at its line.
    RecordingRunner runner;
    runner.launchFailure = u"the editor exited at once with status 1"_s;
    const QString editor = writeFile(u"bin/editor"_s, "#!/bin/sh\n", true);
    const QString source = writeFile(u"src/main.c"_s, "int main;\n");
    plugins.actions.append(std::make_shared<OpenAtLineAction>(
        nullptr, [editor] { return editor + u" +{line} {file}"_s; }, runner));
    FileObject frame;
    frame.setFilePath(source);
    frame.setLine(u"3"_s);
    std::optional<Outcome> heard;
    delegate->openAtLine(frame, [&](const Outcome &outcome) { heard = outcome; });
    ASSERT_TRUE(heard.has_value());
    EXPECT_FALSE(heard->ok);
    EXPECT_EQ(runner.launches, QStringList{editor + u" +3 "_s + source + u" in "_s + path(u"src"_s)});
    EXPECT_EQ(notifier->notifications.value(0),
              u"CommandError|main.c|the editor exited at once with status 1"_s);
}
