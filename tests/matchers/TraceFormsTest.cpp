#include "QtPrinters.h"

#include "matchers/TraceForms.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(TraceFormsTest, EveryRowReadsItsOwnExamplesAndNoEarlierRowTakesThem)
{
    for (const TraceForms::Form &form : TraceForms::all()) {
        for (const QString &example : QString(form.example).split(u'\n')) {
            const std::optional<TraceLocation> place = TraceForms::read(example);
            ASSERT_TRUE(place) << example.toStdString();
            EXPECT_EQ(QString(place->form), QString(form.name)) << example.toStdString();
            EXPECT_TRUE(example.contains(TraceForms::Colon) || example.contains(TraceForms::LineWord))
                << "a reader would pass over " << example.toStdString();
        }
    }
}

TEST(TraceFormsTest, EachFormReadsItsPathLineAndColumnAndRefusesWhatItIsNot)
{
    const struct
    {
        const char *description;
        QString line;
        const char *path; // nullptr: no form reads the line
        const char *number;
        const char *column;
    } rows[] = {
        {"python: a name in angle brackets is read, and found nowhere",
         uR"(  File "<frozen importlib._bootstrap>", line 241, in _call)"_s,
         "<frozen importlib._bootstrap>", "241", nullptr},
        {"python: a quote in the path", uR"(File "it's "here".py", line 3)"_s, "it's \"here\".py", "3", nullptr},
        {"python: no line number", uR"(  File "x.py", line , in f)"_s, nullptr, nullptr, nullptr},
        {"rust: the path keeps a colon of its own", u"--> a:b/main.rs:3:5"_s, "a:b/main.rs", "3", "5"},
        {"rust: no line", u"  --> src/main.rs"_s, nullptr, nullptr, nullptr},
        {"rust panic: a message with a comma of its own",
         u"thread 'main' panicked at 'a, b', src/main.rs:3:5"_s, "src/main.rs", "3", "5"},
        {"rust panic: no place", u"thread 'main' panicked at 'boom'"_s, nullptr, nullptr, nullptr},
        {"java: the package's folders, past a module and a nested class's name",
         u"at java.base/java.util.Map$Entry.get(Map.java:9)"_s, "java/util/Map.java", "9", nullptr},
        {"java: the default package", u"at Shop.main(Shop.java:5)"_s, "Shop.java", "5", nullptr},
        {"java: a class loader before the name", u"at app//com.ex.Shop.pay(Shop.kt:4)"_s,
         "com/ex/Shop.kt", "4", nullptr},
        {"java: no source line", u"at com.example.Shop.pay(Unknown Source)"_s, nullptr, nullptr, nullptr},
        {"java: native", u"at java.lang.Object.wait(Native Method)"_s, nullptr, nullptr, nullptr},
        {"node: an ES module's file URL", u"at f (file:///srv/my%20web/a.mjs:1:2)"_s,
         "/srv/my web/a.mjs", "1", "2"},
        {"node: Node's own modules keep their scheme", u"at node:internal/main:1:2"_s,
         "node:internal/main", "1", "2"},
        {"node: a place without a column is not Node's; the compilers' form reads the line",
         u"at f (x.js:1)"_s, "at f (x.js", "1", nullptr},
        {"node: an index is no place", u"at async Promise.all (index 0)"_s, nullptr, nullptr, nullptr},
        {"include chain: a column", u"In file included from src/a.c:3:10:"_s, "src/a.c", "3", "10"},
        {"include chain: nothing after it", u"In file included from"_s, nullptr, nullptr, nullptr},
        {"compilers: digits must follow the colon", u"main.c: In function 'f':"_s, nullptr, nullptr, nullptr},
        {"perl: a caller's frame", u"\tmain::f() called at t.pl line 5"_s, "t.pl", "5", nullptr},
        {"perl: an earlier \"line\" that is not after \"at\"",
         u"open line 3 failed at t.pl line 9, <STDIN> line 2."_s, "t.pl", "9", nullptr},
        {"perl: no number", u"Died at t.pl line."_s, nullptr, nullptr, nullptr},
        {"shell: the program's name before the path", u"bash: ./x.sh: line 3: oops"_s, "./x.sh", "3", nullptr},
        {"shell: no colon after the number", u"x.sh: line 12 foo"_s, nullptr, nullptr, nullptr},
        {"a line without a digit", u"Traceback (most recent call last):"_s, nullptr, nullptr, nullptr},
        {"a NUL in the path", u"--> src/ma\0in.rs:3:5"_s, nullptr, nullptr, nullptr},
    };
    for (const auto &row : rows) {
        const std::optional<TraceLocation> place = TraceForms::read(row.line);
        ASSERT_EQ(place.has_value(), row.path != nullptr) << row.description;
        if (!place)
            continue;
        EXPECT_EQ(place->path, QString::fromUtf8(row.path)) << row.description;
        EXPECT_EQ(place->line, QString::fromUtf8(row.number)) << row.description;
        EXPECT_EQ(place->column, row.column ? QString::fromUtf8(row.column) : QString()) << row.description;
    }
}

TEST(TraceFormsTest, PathologicalLinesAreReadToTheirEnd)
{
    // Each repeats what a form looks for, without completing it, before a real place; every
    // form's scan is linear, so these megabyte lines cost no more than a few passes.
    const qsizetype repeats = 200000;
    const struct
    {
        const char *description;
        QString line;
        const char *path;
    } rows[] = {
        {"perl's word again and again", u"x line 1 "_s.repeated(repeats) + u"at t.pl line 7."_s, "t.pl"},
        {"the shell's word again and again", u": line x"_s.repeated(repeats) + u": a.sh: line 7: x"_s, "a.sh"},
        {"parentheses that never close", u"at f "_s + u"(("_s.repeated(repeats) + u" (x.js:7:1)"_s, "x.js"},
        {"colons without digits", u":"_s.repeated(repeats), nullptr},
        {"digits without a colon", u"7"_s.repeated(repeats), nullptr},
        {"quotes that never close", u"File \""_s.repeated(repeats) + u'1', nullptr},
    };
    for (const auto &row : rows) {
        const std::optional<TraceLocation> place = TraceForms::read(row.line);
        ASSERT_EQ(place.has_value(), row.path != nullptr) << row.description;
        if (place) {
            EXPECT_EQ(place->path, QString::fromUtf8(row.path)) << row.description;
            EXPECT_EQ(place->line, u"7"_s) << row.description;
        }
    }
}
