#include "foundation/Wording.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// A language in which every sentence of the context "test" is said in capitals.
class Capitals : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return qstrcmp(context, "test") == 0 ? QString::fromUtf8(source).toUpper() : QString();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

TEST(WordingTest, FillsTheEnglishOrTheUsersSentenceOnceWithWhatItIsGiven)
{
    Capitals capitals;
    ASSERT_TRUE(QCoreApplication::installTranslator(&capitals));
    const auto removed = qScopeGuard([&] { QCoreApplication::removeTranslator(&capitals); });
    const struct
    {
        const char *name;
        Language language;
        const char *source;
        QStringList arguments;
        QString said;
    } rows[] = {
        {"English stays as written", Language::English, "no key is set", {}, u"no key is set"_s},
        {"the user's language is looked up", Language::Users, "no key is set", {}, u"NO KEY IS SET"_s},
        {"arguments are never translated", Language::Users, "%1 cannot be read", {u"/tmp/a"_s}, u"/tmp/a CANNOT BE READ"_s},
        {"an argument holding a marker is not filled in turn", Language::English, "%1 and %2",
         {u"50%2"_s, u"b"_s}, u"50%2 and b"_s},
        {"markers may come in any order", Language::English, "%2 before %1", {u"a"_s, u"b"_s}, u"b before a"_s},
        {"a marker without its argument stays", Language::English, "%1 of %3", {u"a"_s}, u"a of %3"_s},
        {"a lone percent sign stays", Language::English, "100% of %1", {u"it"_s}, u"100% of it"_s},
    };
    for (const auto &row : rows)
        EXPECT_EQ(wording(row.language, "test", row.source, row.arguments), row.said) << row.name;
}

} // namespace glimra
