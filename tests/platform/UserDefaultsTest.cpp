#include "TestEnvironment.h"

#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <functional>

#include <sys/stat.h>

using namespace glimra;
using namespace Qt::StringLiterals;

class UserDefaultsTest : public test::IsolatedTest
{
};

TEST_F(UserDefaultsTest, ValuesAreReadFromTheFileEveryTime)
{
    UserDefaults defaults;
    EXPECT_EQ(defaults.filePath(), path(u"config/Glimra/defaults.json"_s));
    EXPECT_FALSE(defaults.boolForKey(u"hide_after_action"_s));
    ASSERT_TRUE(defaults.setObject(u"hide_after_action"_s, true));
    EXPECT_TRUE(UserDefaults().boolForKey(u"hide_after_action"_s));
    // A hand edit applies at once: nothing is cached.
    writeFile(u"config/Glimra/defaults.json"_s, R"({"hide_after_action": false, "x": "y"})");
    EXPECT_FALSE(defaults.boolForKey(u"hide_after_action"_s));
    EXPECT_EQ(defaults.stringForKey(u"x"_s), u"y"_s);
    ASSERT_TRUE(defaults.removeObjectForKey(u"x"_s));
    EXPECT_TRUE(defaults.objectForKey(u"x"_s).isUndefined());
}

TEST_F(UserDefaultsTest, KnownKeysRefuseValuesOfTheWrongShape)
{
    UserDefaults defaults;
    QString error;
    EXPECT_FALSE(defaults.setObject(u"hide_after_action"_s, u"yes"_s, &error));
    EXPECT_TRUE(error.contains(u"boolean"_s));
    EXPECT_FALSE(defaults.setObject(u"user_context_configuration"_s, QJsonArray(), &error));
    EXPECT_FALSE(defaults.setObject(u"regexp_matchers"_s,
                                    QJsonArray{QJsonObject{{u"matched_key"_s, 3}}}, &error));
    EXPECT_FALSE(defaults.setObject(u"regexp_matchers"_s, QJsonArray{u"x"_s}, &error));
    EXPECT_FALSE(defaults.setObject(u"search_exclusion_filter"_s, u"filename =="_s, &error));
    EXPECT_TRUE(error.contains(u"predicate"_s));
    EXPECT_FALSE(defaults.setObject(
        u"regexp_matchers"_s,
        QJsonArray{QJsonObject{{u"matched_key"_s, u"ACT_X"_s}, {u"regexp"_s, u"x"_s}},
                   QJsonObject{{u"matched_key"_s, u"ACT_Y"_s}, {u"regexp"_s, u"(unclosed"_s}}},
        &error));
    EXPECT_TRUE(error.startsWith(u"entry 1 of \"regexp_matchers\": the regexp \"(unclosed\" does not compile"_s))
        << error.toStdString();
    EXPECT_TRUE(defaults.dictionaryRepresentation()->isEmpty()); // nothing was written
    EXPECT_TRUE(defaults.setObject(
        u"regexp_matchers"_s,
        QJsonArray{QJsonObject{{u"matched_key"_s, u"ACT_X"_s}, {u"regexp"_s, u"x"_s}}}, &error));
}

TEST_F(UserDefaultsTest, AMalformedFileIsNeverOverwritten)
{
    const QByteArray broken = R"({"regexp_matchers": [ {"matched_key": "ACT_X", )";
    const QString file = writeFile(u"config/Glimra/defaults.json"_s, broken);
    UserDefaults defaults;
    EXPECT_TRUE(defaults.objectForKey(u"regexp_matchers"_s).isUndefined());
    QString error;
    EXPECT_FALSE(defaults.setObject(u"hide_after_action"_s, true, &error));
    EXPECT_TRUE(error.contains(file)) << error.toStdString();
    QFile stored(file);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), broken);
}

TEST_F(UserDefaultsTest, ASettingsFileThatIsNoSmallRegularFileIsRefusedAndKept)
{
    const QString file = path(u"config/Glimra/defaults.json"_s);
    QDir().mkpath(QFileInfo(file).absolutePath());
    const struct
    {
        const char *name;
        std::function<void()> make;
        QString why;
    } rows[] = {
        {"a link to an endless device", [&] { QFile::link(u"/dev/zero"_s, file); }, u"it is not a regular file"_s},
        // Opening a FIFO for reading would wait for a writer for good.
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); },
         u"it is not a regular file"_s},
        {"a folder", [&] { QDir().mkpath(file); }, u"it is a folder"_s},
        {"a huge file", [&] {
             writeFile(u"config/Glimra/defaults.json"_s,
                       "{\"x\": \"" + QByteArray(UserDefaults::MaximumFileBytes, 'y') + "\"}");
         },
         u"it is larger than 4194304 bytes"_s},
    };
    for (const auto &row : rows) {
        QFile::remove(file);
        QDir(file).removeRecursively();
        row.make();
        const QFileInfo before(file);
        UserDefaults defaults;
        QString error;
        EXPECT_FALSE(defaults.dictionaryRepresentation(&error)) << row.name;
        EXPECT_EQ(error, file + u" cannot be read: "_s + row.why) << row.name;
        EXPECT_TRUE(defaults.snapshot().values().isEmpty()) << row.name; // no settings
        EXPECT_FALSE(defaults.setObject(u"hide_after_action"_s, true, &error)) << row.name;
        EXPECT_TRUE(error.endsWith(u"not changed. Fix or remove the file first."_s)) << row.name;
        const QFileInfo after(file);
        EXPECT_EQ(after.isSymLink(), before.isSymLink()) << row.name; // never replaced
        EXPECT_EQ(after.isFile(), before.isFile()) << row.name;
        EXPECT_EQ(after.size(), before.size()) << row.name;
    }
}

TEST_F(UserDefaultsTest, TheExclusionFilterIsStoredAsPredicateText)
{
    setDefault(u"search_exclusion_filter"_s, u"extension == 'o'"_s);
    const auto filter = UserDefaults().unarchiveObjectForKey(u"search_exclusion_filter"_s);
    ASSERT_TRUE(filter);
    EXPECT_TRUE(filter->evaluateWithObject({{u"extension"_s, u"o"_s}}));
}
