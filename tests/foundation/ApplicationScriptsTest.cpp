#include "TestEnvironment.h"

#include "foundation/ApplicationScripts.h"

#include <QDir>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

// A built-in script that answers its own name to every handler.
class NamedScript : public ApplicationScript
{
public:
    explicit NamedScript(QString name) : m_name(std::move(name)) {}
    QVariant call(const QString &, const QJsonArray &, QString *) const override { return m_name; }

private:
    QString m_name;
};

} // namespace

class ApplicationScriptsTest : public test::IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
        for (const QString &name : {ApplicationScripts::Default, ApplicationScripts::DefaultSelection})
            scripts.registerBuiltIn(name, std::make_shared<NamedScript>(u"built-in "_s + name));
    }
    void TearDown() override
    {
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }
    // The user's script `name`, which answers "mine NAME".
    void mine(const QString &name)
    {
        writeFile(u"data/Glimra/AppScripts/%1.scpt"_s.arg(name),
                  "#!/bin/sh\necho '\"mine " + name.toUtf8() + "\"'\n");
    }
    QString answerOf(const QString &name)
    {
        const std::shared_ptr<ApplicationScript> script = scripts.find(name);
        return script ? script->call(u"selected_files"_s, {}).toString() : u"(none)"_s;
    }

    ApplicationScripts scripts;
};

TEST_F(ApplicationScriptsTest, AUsersScriptUnderTheGenericScriptsOlderNameStillReplacesIt)
{
    const struct
    {
        const char *sentence;
        QStringList users;
        QString asked;
        QString answer;
    } rows[] = {
        {"without scripts of the user's, the built-in one answers", {}, u"default"_s,
         u"built-in default"_s},
        {"the user's script of the older name replaces the generic one", {u"CurrentCocoaApp"_s},
         u"default"_s, u"mine CurrentCocoaApp"_s},
        {"so does the older name of the selection's copy", {u"CurrentCocoaApp-selection"_s},
         u"default-selection"_s, u"mine CurrentCocoaApp-selection"_s},
        {"an older name replaces only the script it named", {u"CurrentCocoaApp"_s},
         u"default-selection"_s, u"built-in default-selection"_s},
        {"the user's script of the new name wins over the older one",
         {u"CurrentCocoaApp"_s, u"default"_s}, u"default"_s, u"mine default"_s},
        {"an older name is no script's name of its own", {}, u"CurrentCocoaApp"_s, u"(none)"_s},
        {"a window class is never taken for an older name", {u"CurrentCocoaApp"_s}, u"XTerm"_s,
         u"(none)"_s},
    };
    for (const auto &row : rows) {
        QDir(path(u"data/Glimra/AppScripts"_s)).removeRecursively();
        for (const QString &name : row.users)
            mine(name);
        EXPECT_EQ(answerOf(row.asked), row.answer) << row.sentence;
    }
}
