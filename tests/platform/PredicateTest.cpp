#include "platform/Predicate.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

bool holds(const QString &format, const QVariantMap &object)
{
    QString error;
    const std::optional<Predicate> predicate = Predicate::predicateWithFormat(format, &error);
    EXPECT_TRUE(predicate) << format.toStdString() << ": " << error.toStdString();
    return predicate && predicate->evaluateWithObject(object);
}

} // namespace

TEST(Predicate, ComparisonsOverAFile)
{
    const QVariantMap file{{u"filename"_s, u"Main.C"_s},
                           {u"extension"_s, u"C"_s},
                           {u"path"_s, u"/home/u/proj/.git/Main.C"_s},
                           {u"size"_s, 1200},
                           {u"name"_s, u"Résumé.txt"_s}};
    const struct
    {
        QString format;
        bool expected;
    } rows[] = {
        {u"filename == 'Main.C'"_s, true},
        {u"filename = \"main.c\""_s, false},
        {u"filename ==[c] 'main.c'"_s, true},
        {u"filename != 'x' AND extension <> 'o'"_s, true},
        {u"path CONTAINS '/.git/'"_s, true},
        {u"path BEGINSWITH '/home' && path ENDSWITH '.C'"_s, true},
        {u"filename LIKE 'M*.?'"_s, true},
        {u"filename LIKE[c] 'm*.c'"_s, true},
        {u"filename MATCHES 'M[a-z]+\\\\.C'"_s, true},
        {u"filename MATCHES 'ain'"_s, false}, // the whole text must match
        {u"extension IN {'o', 'C'}"_s, true},
        {u"extension in {'o', 'a'}"_s, false},
        {u"size > 1000 and size <= 1200"_s, true},
        {u"size < 1000 OR NOT (size == 1200)"_s, false},
        {u"!(size == 1)"_s, true},
        {u"name CONTAINS[cd] 'resume'"_s, true},
        {u"name CONTAINS[c] 'resume'"_s, false},
        {u"missing == nil"_s, true},
        {u"missing == 'x'"_s, false},
        {u"TRUEPREDICATE"_s, true},
        {u"falsepredicate OR truepredicate"_s, true},
        {u"filename == 'it\\'s'"_s, false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(holds(row.format, file), row.expected) << row.format.toStdString();
}

TEST(Predicate, MalformedTextGivesNoPredicateAndAMessage)
{
    const QString malformed[] = {u""_s, u"   "_s, u"filename =="_s, u"== 'x'"_s,
                                 u"filename == 'unterminated"_s, u"(a == 1"_s, u"a == 1)"_s,
                                 u"a == 1 AND"_s, u"a ==[x] 'b'"_s, u"a IN {1, }"_s,
                                 u"a ~ b"_s, u"AND == 1"_s, u"kMDItemDisplayName == \"a\"b\""_s,
                                 QString(2000, u'(') + u"a==1"_s};
    for (const QString &format : malformed) {
        QString error;
        EXPECT_FALSE(Predicate::predicateWithFormat(format, &error)) << format.toStdString();
        EXPECT_FALSE(error.isEmpty()) << format.toStdString();
    }
}

TEST(Predicate, LongChainsEvaluateWithoutDeepRecursion)
{
    QStringList conditions;
    for (int i = 0; i < 20000; ++i)
        conditions.append(u"a == %1"_s.arg(i));
    const auto predicate = Predicate::predicateWithFormat(conditions.join(u" OR "_s));
    ASSERT_TRUE(predicate);
    EXPECT_TRUE(predicate->evaluateWithObject({{u"a"_s, 19999}}));
    EXPECT_FALSE(predicate->evaluateWithObject({{u"a"_s, -1}}));
    const Predicate renamed = predicate->withKeysRenamed({{u"a"_s, u"b"_s}});
    EXPECT_TRUE(renamed.evaluateWithObject({{u"b"_s, 19999}}));
    EXPECT_FALSE(renamed.evaluateWithObject({{u"a"_s, 19999}}));
}

TEST(Predicate, QuotingLetsAnyNameBeSearched)
{
    const QString names[] = {u"a\"b.c"_s, u"back\\slash"_s, u"100%"_s, u"it's"_s, u"%@"_s};
    for (const QString &name : names) {
        const auto predicate =
            Predicate::predicateWithFormat(u"kMDItemDisplayName == "_s + Predicate::quoted(name));
        ASSERT_TRUE(predicate) << name.toStdString();
        EXPECT_TRUE(predicate->evaluateWithObject({{u"kMDItemDisplayName"_s, name}}));
        EXPECT_EQ(predicate->requiredText(u"kMDItemDisplayName"_s)->text, name);
    }
}

TEST(Predicate, RequiredTextNarrowsASearch)
{
    auto required = [](const QString &format) {
        return Predicate::predicateWithFormat(format)->requiredText(u"kMDItemDisplayName"_s);
    };
    EXPECT_TRUE(required(u"kMDItemDisplayName == 'a.c' AND kMDItemFSSize > 3"_s)->whole);
    EXPECT_TRUE(required(u"kMDItemDisplayName CONTAINS[c] 'a'"_s)->caseInsensitive);
    EXPECT_FALSE(required(u"kMDItemDisplayName CONTAINS[cd] 'a'"_s));
    EXPECT_FALSE(required(u"kMDItemDisplayName == 'a' OR kMDItemDisplayName == 'b'"_s));
    EXPECT_FALSE(required(u"NOT kMDItemDisplayName == 'a'"_s));
}

TEST(Predicate, DatesCompareWithNumbersOfSeconds)
{
    const QVariantMap item{{u"date"_s, QDateTime::fromSecsSinceEpoch(1000)}};
    EXPECT_TRUE(holds(u"date > 999 AND date < 1001"_s, item));
}
