#include "LogCapture.h"
#include "TestEnvironment.h"

#include "capture/FocusTracker.h"
#include "capture/isSystemApp.h"
#include "foundation/ApplicationDelegate.h"
#include "foundation/ApplicationScripts.h"
#include "platform/RunningApplications.h"

#include <QFile>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

class ListedApplications : public RunningApplications
{
public:
    QList<RunningApplication> runningApplications() const override { return list; }
    QList<RunningApplication> list;
};

} // namespace

class FocusTrackerTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
    }
    void TearDown() override
    {
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }
    // An application script whose report is `report` (JSON) and which records its argument.
    void script(const QString &name, const QByteArray &report, bool shipped = false)
    {
        const QString folder = shipped ? u"res/AppScripts/"_s : u"data/Glimra/AppScripts/"_s;
        writeFile(folder + name + u".scpt"_s,
                  "#!/bin/sh\ncat > '" + path(u"argument.json"_s).toUtf8() + "'\necho '" + report + "'\n");
    }
    QByteArray argument()
    {
        QFile file(path(u"argument.json"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }
    void front(const QString &name, const QString &identifier)
    {
        RunningApplication background;
        background.name = u"Other"_s;
        background.windowClass = u"Other"_s;
        RunningApplication active;
        active.name = name;
        active.windowClass = identifier;
        active.active = true;
        applications.list = {background, active};
    }
    std::optional<Context> focus() { return tracker.contextForCurrentApp(); }

    ApplicationScripts scripts;
    ListedApplications applications;
    ApplicationDelegate delegate;
    FocusTracker tracker{&scripts, &applications, [this] { return delegate.applicationContext(); }};
};

TEST_F(FocusTrackerTest, TheReportBecomesTheFocusContext)
{
    writeFile(u"home/Documents/notes.txt"_s, "x");
    front(u"Geany"_s, u"Geany"_s);
    const QString home = path(u"home"_s);
    const struct
    {
        QByteArray report;
        Context expected;
    } rows[] = {
        {R"({"CURRENT_PATH": " ~/Documents ", "APP_NAME": " Geany ", "WIN_NAME": "w"})",
         {{CTX_APPID, u"Geany"_s}, {CTX_PATH, home + u"/Documents/"_s},
          {CTX_DIR, home + u"/Documents/"_s}, {CTX_APP_NAME, u"Geany"_s}, {CTX_WIN_NAME, u"w"_s}}},
        {R"({"CURRENT_PATH": "file://)" + home.toUtf8() + R"(/Documents/notes.txt"})",
         {{CTX_APPID, u"Geany"_s}, {CTX_PATH, home + u"/Documents/notes.txt"_s},
          {CTX_FILE, home + u"/Documents/notes.txt"_s}, {CTX_DIR, home + u"/Documents/"_s}}},
        {R"({"CURRENT_PATH": "/no/such/file"})",
         {{CTX_APPID, u"Geany"_s}, {CTX_PATH, u"/no/such/file"_s}}},
        {R"({"CURRENT_PATH": "  https://example.com/page "})",
         {{CTX_APPID, u"Geany"_s}, {CTX_URL, u"https://example.com/page"_s}}},
        {R"({"CURRENT_PATH": "   "})", {{CTX_APPID, u"Geany"_s}, {CTX_URL, u""_s}}},
        {R"({"CURRENT_PATH": "file:bad path"})", {{CTX_APPID, u"Geany"_s}}},
        {R"({"WIN_NAME": 3, "OTHER": "x"})", {{CTX_APPID, u"Geany"_s}}},
    };
    for (const auto &row : rows) {
        script(u"Geany"_s, row.report);
        EXPECT_EQ(focus(), row.expected) << row.report.constData();
    }
    EXPECT_EQ(argument(), R"([{"CTX_APPID":"Geany"}])");
}

TEST_F(FocusTrackerTest, SystemApplicationsGiveWayToTheLastFocusedOne)
{
    script(u"Editor"_s, R"({"APP_NAME": "Editor"})");
    front(u"Glimra"_s, u"Glimra"_s);
    delegate.applicationContext().insert(u"app_name"_s, u"Editor"_s);
    delegate.applicationContext().insert(u"app_id"_s, u"Editor"_s);
    EXPECT_EQ(focus()->value(CTX_APPID), u"Editor"_s);

    for (const QString &name : {u"Pelorant"_s, u"Glimra"_s, u"System Events"_s, u"Xfce4-notifyd"_s,
                                u"Gnome-shell"_s, u"plasmashell"_s, u"Xfce4-panel"_s, u"Dunst"_s})
        EXPECT_TRUE(isSystemApp(name)) << name.toStdString();
    EXPECT_FALSE(isSystemApp(u"glimra"_s));
    EXPECT_FALSE(isSystemApp(QString()));
}

TEST_F(FocusTrackerTest, WithoutAnIdentifierTheReportIsAskedWithAnEmptyArgument)
{
    script(u"default"_s, R"({"APP_NAME": "Something"})", true);
    front(u"Nameless"_s, QString());
    LogCapture log;
    const std::optional<Context> context = focus();
    ASSERT_TRUE(context);
    EXPECT_FALSE(context->contains(CTX_APPID));
    EXPECT_EQ(argument(), "[{}]");
    EXPECT_EQ(log.lines(), (QStringList{u"appname:(null)"_s, u"no script of its own, try the default one"_s}));
}

TEST_F(FocusTrackerTest, MissingScriptsAndEmptyReportsGiveNoContext)
{
    front(u"Unknown"_s, u"Unknown"_s);
    LogCapture log;
    EXPECT_FALSE(focus());
    EXPECT_EQ(log.lines(), (QStringList{u"appname:Unknown"_s, u"no script of its own, try the default one"_s,
                                        u"no context..."_s}));
    script(u"default"_s, "{}", true);
    EXPECT_FALSE(focus());
    script(u"default"_s, R"({"APP_NAME": "Generic"})", true);
    EXPECT_EQ(focus()->value(CTX_APP_NAME), u"Generic"_s);
    // The user's script of a name wins over the shipped one.
    script(u"default"_s, R"({"APP_NAME": "Mine"})");
    EXPECT_EQ(focus()->value(CTX_APP_NAME), u"Mine"_s);
}

TEST_F(FocusTrackerTest, TheScriptIsToldTheFactsOfTheApplicationsFrontWindow)
{
    script(u"Editor"_s, R"({"APP_NAME": "Editor"})");
    RunningApplication editor;
    editor.name = u"Editor"_s;
    editor.windowClass = u"Editor"_s;
    editor.pid = 77;
    editor.windowId = 0x2a;
    editor.windowTitle = u"notes \"draft\" – é"_s;
    RunningApplication glimra;
    glimra.name = u"Glimra"_s;
    glimra.windowClass = u"Glimra"_s;
    glimra.windowId = 0x30;
    const QByteArray facts =
        R"([{"CTX_APPID":"Editor","WINDOW_CLASS":"Editor","WINDOW_ID":"0x2a","WINDOW_PID":"77","WINDOW_TITLE":"notes \"draft\" – é"}])";

    editor.active = true;
    applications.list = {glimra, editor};
    // The context names the very window, which a paste goes back to.
    EXPECT_EQ(focus().value_or(Context()).value(CTX_WINDOW_ID), u"0x2a"_s);
    EXPECT_EQ(argument(), facts);
    // Glimra's own window is active: the last focused application's window is the one meant.
    editor.active = false;
    glimra.active = true;
    applications.list = {editor, glimra};
    delegate.applicationContext().insert(u"app_name"_s, u"Editor"_s);
    delegate.applicationContext().insert(u"app_id"_s, u"Editor"_s);
    focus();
    EXPECT_EQ(argument(), facts);
}

TEST_F(FocusTrackerTest, AWindowTheDesktopDoesNotShowIsAnUnknownApplicationNotTheLastFocusedOne)
{
    script(u"default"_s, R"({"APP_NAME": "From the report"})", true);
    delegate.applicationContext() = {{u"app_name"_s, u"Earlier"_s}, {u"app_id"_s, u"Earlier"_s}};
    const struct
    {
        const char *name;
        bool seesEveryWindow;
        bool activeKnown;
        QString appId; // null: not in the context
        QString appName;
    } rows[] = {
        {"every window seen, none active: the one focused before", true, false, u"Earlier"_s, u"From the report"_s},
        {"some windows seen, none active: unknown", false, false, u""_s, u"unknown"_s},
        {"some windows seen, one active: that one", false, true, u"Editor"_s, u"From the report"_s},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        applications.setSeesEveryWindow(row.seesEveryWindow);
        applications.list.clear();
        if (row.activeKnown)
            front(u"Editor"_s, u"Editor"_s);
        const std::optional<Context> context = focus();
        ASSERT_TRUE(context);
        EXPECT_EQ(context->value(CTX_APPID), row.appId);
        EXPECT_EQ(context->contains(CTX_APPID), !row.appId.isNull());
        EXPECT_EQ(context->value(CTX_APP_NAME), row.appName);
    }
}
