#include "matchers/URLMatch.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

QStringList urls(const QString &text)
{
    URLMatch matcher;
    Context context{{CTX_TEXT, text}};
    if (!matcher.matches(context))
        return {};
    const QStringList all = context.value(ACT_URLS).split(u'\n');
    EXPECT_EQ(context.value(ACT_URL), all.first());
    return all;
}

} // namespace

TEST(URLMatchTest, TheWholeTextAsAnyNonFileUrl)
{
    EXPECT_EQ(urls(u" https://example.com/a?b=c#d \n"_s), QStringList{u"https://example.com/a?b=c#d"_s});
    EXPECT_EQ(urls(u"mailto:someone@example.com"_s), QStringList{u"mailto:someone@example.com"_s});
    EXPECT_EQ(urls(u"main.c:42"_s), QStringList{u"main.c:42"_s}); // a scheme by the grammar
    EXPECT_TRUE(urls(u"file:///etc/hosts"_s).isEmpty());
    EXPECT_TRUE(urls(u"see file:///etc/hosts"_s).isEmpty());
    EXPECT_TRUE(urls(u"just words"_s).isEmpty());
    EXPECT_TRUE(urls(u""_s).isEmpty());
}

TEST(URLMatchTest, UrlsAmongWordsInOrderWithDuplicatesKept)
{
    EXPECT_EQ(urls(u"read https://a.org/x, then (https://b.net/y) and <ftp://c.com/z>; "
                   "https://a.org/x again"_s),
              (QStringList{u"https://a.org/x"_s, u"https://b.net/y"_s, u"ftp://c.com/z"_s,
                           u"https://a.org/x"_s}));
    // A space makes the whole text no URL; the word step finds it.
    EXPECT_EQ(urls(u"https://example.com/page is here"_s), QStringList{u"https://example.com/page"_s});
}

TEST(URLMatchTest, BareHostNamesWithAWellKnownEnding)
{
    EXPECT_EQ(urls(u"go to www.example.com/docs?x=1 now"_s),
              QStringList{u"http://www.example.com/docs?x=1"_s});
    EXPECT_EQ(urls(u"ftp.gnu.org/gnu"_s), QStringList{u"ftp://ftp.gnu.org/gnu"_s});
    EXPECT_EQ(urls(u"www.bbc.co.uk"_s), QStringList{u"http://www.bbc.co.uk"_s});
    for (const QString &skipped : {u"www.example.de"_s, u"www.my-site.com"_s,
                                   u"www.example.com:8080"_s, u"example.com"_s})
        EXPECT_TRUE(urls(u"x "_s + skipped).isEmpty()) << skipped.toStdString();
}

TEST(URLMatchTest, EveryWellKnownEndingCompletesBothPrefixes)
{
    for (const QString &ending : {u"org"_s, u"com"_s, u"net"_s, u"co.uk"_s, u"gov"_s}) {
        EXPECT_EQ(urls(u"x ftp.files."_s + ending + u"/pub"_s),
                  QStringList{u"ftp://ftp.files."_s + ending + u"/pub"_s});
        EXPECT_EQ(urls(u"x www.site."_s + ending + u"#top"_s),
                  QStringList{u"http://www.site."_s + ending + u"#top"_s});
    }
    for (const QString &skipped : {u"WWW.example.com"_s, u"wwwx.example.com"_s,
                                   u"www.example.com.de"_s, u"www.example.org_x"_s,
                                   u"ftp.example"_s})
        EXPECT_TRUE(urls(u"x "_s + skipped).isEmpty()) << skipped.toStdString();
}
