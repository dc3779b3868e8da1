#include "Recorders.h"
#include "TestEnvironment.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "platform/MemoryClipboard.h"
#include "platform/UserDefaults.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

// The real settings file, with every read counted.
class CountingDefaults : public UserDefaults
{
public:
    std::optional<QJsonObject> dictionaryRepresentation(QString *error = nullptr) const override
    {
        ++reads;
        return UserDefaults::dictionaryRepresentation(error);
    }
    mutable int reads = 0;
};

} // namespace

class AssemblyTest : public IsolatedTest
{
};

TEST_F(AssemblyTest, TheSettingsAreReadOnceForAWholeGuess)
{
    setDefault(u"regexp_matchers"_s,
               QJsonArray{QJsonObject{{u"matched_key"_s, u"CTX_TEXT"_s}, {u"regexp"_s, u"see (.*)"_s},
                                      {u"matched_value"_s, u"$1"_s}},
                          QJsonObject{{u"matched_key"_s, u"ACT_TICKET"_s}, {u"regexp"_s, u"^[A-Z]+-\\d+$"_s}}});
    setDefault(u"user_context_configuration"_s, QJsonObject{{u"CTX_DIRx"_s, u"/nowhere"_s}});
    setDefault(u"search_exclusion_filter"_s, u"path CONTAINS '/.git/'"_s);
    setDefault(u"hide_after_action"_s, true);

    Platform platform;
    platform.fileManager = std::make_shared<RecordingFileManager>();
    platform.clipboard = std::make_shared<MemoryClipboard>();
    auto defaults = std::make_shared<CountingDefaults>();
    MainInterface assembly(platform, defaults, nullptr);
    AppDelegate &delegate = assembly.appDelegate();
    QList<GuessOutcome> outcomes;
    QObject::connect(&delegate, &AppDelegate::guessFinished, &delegate,
                     [&](const GuessOutcome &outcome) { outcomes.append(outcome); });

    defaults->reads = 0;
    // Regexp entries, the configuration and a desktop search (the exclusion filter) all
    // take part in this guess, and an action runs after it.
    delegate.guessText({{CTX_TEXT, u"see ABC-12 src/missing/file.c"_s}});
    ASSERT_EQ(outcomes.size(), 1);
    EXPECT_TRUE(outcomes[0].matched);
    ASSERT_FALSE(delegate.result().actions.isEmpty());
    delegate.executeAction(delegate.result().actions.first());
    EXPECT_EQ(defaults->reads, 1);

    delegate.guessText({{CTX_TEXT, u"ABC-12"_s}});
    EXPECT_EQ(delegate.result().matchedContext.value(u"ACT_TICKET"_s), u"ABC-12"_s);
    EXPECT_EQ(defaults->reads, 2);
}
