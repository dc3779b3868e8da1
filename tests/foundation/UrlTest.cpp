#include "foundation/Url.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(Url, OnlyValidReferencesBecomeUrls)
{
    const QString valid[] = {u"https://example.com/a?b=c#d"_s, u"mailto:someone@example.com"_s,
                             u"main.c:42"_s, u"relative/path"_s, u"a%20b"_s, u""_s,
                             u"http://[::1]:80/"_s};
    for (const QString &text : valid)
        EXPECT_TRUE(Url::URLWithString(text)) << text.toStdString();
    const QString invalid[] = {u"http://a b"_s, u"http://a/<x>"_s, u"http://a/\"q\""_s,
                               u"http://a/{x}"_s, u"a|b"_s, u"a\\b"_s, u"a^b"_s, u"a`b"_s,
                               u"100%"_s, u"%zz"_s, u"a#b#c"_s, u"http://exämple.com"_s,
                               u"tab\there"_s};
    for (const QString &text : invalid)
        EXPECT_FALSE(Url::URLWithString(text)) << text.toStdString();
}

TEST(Url, SchemeAndPath)
{
    EXPECT_EQ(Url::URLWithString(u"main.c:42"_s)->scheme(), u"main.c"_s);
    EXPECT_TRUE(Url::URLWithString(u"src/main.c:42"_s)->scheme().isNull());
    EXPECT_EQ(Url::URLWithString(u"file:///tmp/a%20b?x#y"_s)->path(), u"/tmp/a b"_s);
    EXPECT_EQ(Url::URLWithString(u"file://localhost/etc/hosts"_s)->path(), u"/etc/hosts"_s);
    EXPECT_EQ(Url::URLWithString(u"https://h/x%C3%A9"_s)->path(), u"/xé"_s);
    EXPECT_TRUE(Url::URLWithString(u"mailto:a@b"_s)->path().isNull());
    EXPECT_TRUE(Url::URLWithString(u"file:/tmp/x"_s)->isFileURL());
}

TEST(Url, FileUrlsArePercentEncodedAndMarkFolders)
{
    EXPECT_EQ(Url::fileURLWithPath(u"/no such/é#?%"_s).absoluteString(),
              u"file:///no%20such/%C3%A9%23%3F%25"_s);
    QTemporaryDir folder;
    EXPECT_EQ(Url::fileURLWithPath(folder.path()).absoluteString(), u"file://"_s + folder.path() + u'/');
    // The URL's path gives the path back.
    EXPECT_EQ(Url::URLWithString(Url::fileURLWithPath(u"/a b/é"_s).absoluteString())->path(),
              u"/a b/é"_s);
}
