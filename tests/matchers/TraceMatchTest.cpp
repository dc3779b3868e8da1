#include "TestEnvironment.h"

#include "matchers/FileMatch.h"
#include "matchers/TraceForms.h"
#include "matchers/TraceReader.h"

using namespace glimra;
using namespace Qt::StringLiterals;

// The file matcher over the places traces name, in a project of real files.
class TraceMatchTest : public test::IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        for (const char *file :
             {"app/main.py", "app/models.py", "tests/test_models.py", "sub/nested/found.py",
              "src/main.rs", "src/lib.rs", "src/main.c", "src/util.c", "src/util.h",
              "go/server.go", "go/main.go", "go/pkg/server_test.go", "web/index.js",
              "java/src/main/java/com/example/Shop.java", "lib/Run.pm", "deploy.sh"})
            writeFile(u"proj/"_s + QString::fromUtf8(file), "\n");
        proj = path(u"proj"_s);
    }
    // The matched keys of `text` (with "{proj}" standing for the project's folder), run as
    // a guess runs the matcher, with the project as the document's folder or with none.
    Context run(const QString &text, bool inProject = true) const
    {
        Context context{{CTX_TEXT, QString(text).replace(u"{proj}"_s, proj)}};
        if (inProject)
            context.insert(CTX_DIR, proj + u'/');
        FileMatch matcher;
        const bool matched = matcher.matches(context);
        EXPECT_EQ(matched, context.contains(ACT_PATH)) << text.toStdString();
        context.remove(CTX_TEXT);
        context.remove(CTX_DIR);
        return context;
    }
    QString in(const QString &relative) const { return proj + u'/' + relative; }
    QString proj;
};

TEST_F(TraceMatchTest, EveryFormOpensAtItsLineWhetherFoundAsWrittenInTheFolderOrBySearch)
{
    const QString pathLine = TraceForms::PathLineColumn;
    const struct
    {
        QString form;
        QString text;
        const char *file; // relative to the project; nullptr: nothing is found
        const char *line;
        const char *column;
    } rows[] = {
        {u"Python traceback"_s, uR"(  File "{proj}/app/models.py", line 214, in save)"_s, "app/models.py", "214", nullptr},
        {u"Python traceback"_s, uR"(  File "app/models.py", line 7, in <module>)"_s, "app/models.py", "7", nullptr},
        {u"Python traceback"_s, uR"(  File "nested/found.py", line 3, in f)"_s, "sub/nested/found.py", "3", nullptr},
        {u"Python traceback"_s, uR"(  File "{proj}/app/gone.py", line 3, in f)"_s, nullptr, nullptr, nullptr},
        {u"Rust and cargo"_s, u"  --> src/main.rs:3:5"_s, "src/main.rs", "3", "5"},
        {u"Rust and cargo"_s, u"   ::: {proj}/src/lib.rs:9:1"_s, "src/lib.rs", "9", "1"},
        {u"Rust and cargo"_s, u"  --> lib.rs:2:8"_s, "src/lib.rs", "2", "8"},
        {u"Rust and cargo"_s, u"  --> src/gone.rs:3:5"_s, nullptr, nullptr, nullptr},
        {u"Rust panic"_s, u"thread 'main' panicked at src/main.rs:3:5:"_s, "src/main.rs", "3", "5"},
        {u"Rust panic"_s, u"thread 'main' panicked at 'boom', {proj}/src/main.rs:4:9"_s, "src/main.rs", "4", "9"},
        {u"Java and Kotlin stack"_s, u"\tat com.example.Shop.pay(Shop.java:42)"_s, "java/src/main/java/com/example/Shop.java", "42", nullptr},
        {u"Java and Kotlin stack"_s, u"\tat java.base/java.lang.Thread.run(Thread.java:833)"_s, nullptr, nullptr, nullptr},
        {u"Node.js stack"_s, u"    at handler ({proj}/web/index.js:10:5)"_s, "web/index.js", "10", "5"},
        {u"Node.js stack"_s, u"    at {proj}/web/index.js:11:2"_s, "web/index.js", "11", "2"},
        {u"Node.js stack"_s, u"    at web/index.js:12:3"_s, "web/index.js", "12", "3"},
        {u"Node.js stack"_s, u"    at file://{proj}/web/index.js:13:1"_s, "web/index.js", "13", "1"},
        {u"Node.js stack"_s, u"    at handler (/srv/web/index.js:10:5)"_s, nullptr, nullptr, nullptr},
        {u"Node.js stack"_s, u"    at node:internal/main/run_main_module:23:47"_s, nullptr, nullptr, nullptr},
        {u"C and C++ include chain"_s, u"In file included from src/main.c:3:"_s, "src/main.c", "3", nullptr},
        {u"C and C++ include chain"_s, u"                 from {proj}/src/util.h:5,"_s, "src/util.h", "5", nullptr},
        {u"C and C++ include chain"_s, u"In file included from src/main.c:3:10:"_s, "src/main.c", "3", "10"},
        {u"C and C++ include chain"_s, u"In file included from src/gone.h:3:"_s, nullptr, nullptr, nullptr},
        {pathLine, u"tests/test_models.py:88: AssertionError"_s, "tests/test_models.py", "88", nullptr},
        {pathLine, u"{proj}/tests/test_models.py:88: AssertionError"_s, "tests/test_models.py", "88", nullptr},
        {pathLine, u"src/util.c:120:    return 0;"_s, "src/util.c", "120", nullptr},
        {pathLine, u"src/util.c:120:5:    return 0;"_s, "src/util.c", "120", "5"},
        {pathLine, u"\t{proj}/go/server.go:57 +0x1d"_s, "go/server.go", "57", nullptr},
        {pathLine, u"\t/home/me/go/src/app/server.go:57 +0x1d"_s, nullptr, nullptr, nullptr},
        {pathLine, u"    server_test.go:12: want 3"_s, "go/pkg/server_test.go", "12", nullptr},
        {pathLine, u"    gone_test.go:12: want 3"_s, nullptr, nullptr, nullptr},
        {u"Perl"_s, u"Died at {proj}/lib/Run.pm line 77."_s, "lib/Run.pm", "77", nullptr},
        {u"Perl"_s, u"Can't call method \"x\" on undef at lib/Run.pm line 5."_s, "lib/Run.pm", "5", nullptr},
        {u"Perl"_s, u"Died at /usr/share/glimra-test/Gone.pm line 77."_s, nullptr, nullptr, nullptr},
        {u"shell"_s, u"./deploy.sh: line 12: foo: command not found"_s, "deploy.sh", "12", nullptr},
        {u"shell"_s, u"bash: {proj}/deploy.sh: line 3: syntax error"_s, "deploy.sh", "3", nullptr},
        {u"shell"_s, u"./gone.sh: line 12: foo: command not found"_s, nullptr, nullptr, nullptr},
    };
    for (const auto &row : rows) {
        const std::string description = (row.form + u": "_s + row.text).toStdString();
        const QString text = QString(row.text).replace(u"{proj}"_s, proj);
        EXPECT_EQ(QString(TraceForms::read(text).value_or(TraceLocation()).form), row.form) << description;
        const Context context = run(row.text);
        if (!row.file) {
            EXPECT_EQ(context, Context()) << description;
            continue;
        }
        const QString file = in(QString::fromUtf8(row.file));
        const QString line = QString::fromUtf8(row.line);
        const QString column = row.column ? QString::fromUtf8(row.column) : QString();
        EXPECT_EQ(context.value(ACT_PATH), file) << description;
        EXPECT_EQ(context.value(ACT_PATH_LINE), line) << description;
        EXPECT_EQ(context.value(ACT_PATH_COLUMN), column) << description;
        // The compilers' form alone is written as it always was; every other lists its frame.
        const bool listed = row.form != pathLine;
        EXPECT_EQ(context.value(ACT_PATHS), listed ? file : QString()) << description;
        EXPECT_EQ(context.value(ACT_PATH_LINES), listed ? (column.isNull() ? line : line + u':' + column)
                                                        : QString())
            << description;
    }
}

TEST_F(TraceMatchTest, RelativePathsNeedTheDocumentsFolder)
{
    EXPECT_EQ(run(u"  --> src/main.rs:3:5"_s, false), Context());
    EXPECT_EQ(run(u"\tat com.example.Shop.pay(Shop.java:42)"_s, false), Context());
    EXPECT_EQ(run(u"  --> {proj}/src/main.rs:3:5"_s, false).value(ACT_PATH), in(u"src/main.rs"_s));
}

TEST_F(TraceMatchTest, AWholePythonTracebackListsEveryFrameInOrderWithItsLine)
{
    const Context context = run(uR"(Traceback (most recent call last):
  File "{proj}/app/main.py", line 10, in <module>
    main()
  File "<frozen importlib._bootstrap>", line 241, in _call_with_frames_removed
  File "{proj}/app/models.py", line 214, in save
    self.validate()
  File "/usr/lib/python3/dist-packages/glimra_gone/x.py", line 5, in validate
  File "{proj}/app/models.py", line 230, in validate
    raise ValueError("bad value: 3")
ValueError: bad value: 3
)"_s);
    EXPECT_EQ(context, (Context{{ACT_PATH, in(u"app/main.py"_s)},
                                {ACT_PATH_LINE, u"10"_s},
                                {ACT_PATHS, in(u"app/main.py"_s) + u'\n' + in(u"app/models.py"_s)
                                                + u'\n' + in(u"app/models.py"_s)},
                                {ACT_PATH_LINES, u"10\n214\n230"_s}}));
}

TEST_F(TraceMatchTest, AWholeGoPanicListsEveryFrameInOrderWithItsLine)
{
    const Context context = run(u"panic: runtime error: index out of range [5] with length 3\n"
                                "\n"
                                "goroutine 1 [running]:\n"
                                "main.lookup(...)\n"
                                "\t{proj}/go/server.go:57\n"
                                "main.main()\n"
                                "\t{proj}/go/main.go:12 +0x1d\n"
                                "exit status 2\n"_s);
    EXPECT_EQ(context, (Context{{ACT_PATH, in(u"go/server.go"_s)},
                                {ACT_PATH_LINE, u"57"_s},
                                {ACT_PATHS, in(u"go/server.go"_s) + u'\n' + in(u"go/main.go"_s)},
                                {ACT_PATH_LINES, u"57\n12"_s}}));
}

TEST_F(TraceMatchTest, AFileAtTwoLinesIsTwoEntriesAndARepeatedPlaceIsOne)
{
    const QString util = in(u"src/util.c"_s);
    const struct
    {
        const char *description;
        QString text;
        Context expected;
    } rows[] = {
        {"grep hits: two lines of one file, a repeated hit, a missing file",
         u"src/util.c:120:    return 0;\nsrc/util.c:7:int x;\nsrc/gone.c:1:x\n"
         "src/main.c:3:5:#include\nsrc/util.c:120:    return 0;"_s,
         {{ACT_PATH, util}, {ACT_PATH_LINE, u"120"_s},
          {ACT_PATHS, util + u'\n' + util + u'\n' + in(u"src/main.c"_s)},
          {ACT_PATH_LINES, u"120\n7\n3:5"_s}}},
        {"one compiler line after a heading is listed, with its line",
         u"make: *** errors\nsrc/util.c:7:3: error: x"_s,
         {{ACT_PATH, util}, {ACT_PATH_LINE, u"7"_s}, {ACT_PATH_COLUMN, u"3"_s},
          {ACT_PATHS, util}, {ACT_PATH_LINES, u"7:3"_s}}},
        {"one compiler line opening the text is written as it always was",
         u"\n  src/util.c:7:3: error: x\nmake: *** errors"_s,
         {{ACT_PATH, util}, {ACT_PATH_LINE, u"7"_s}, {ACT_PATH_COLUMN, u"3"_s}}},
        {"lines with carriage returns",
         u"src/util.c:1: a\r\n  --> src/main.rs:3:5\r\n"_s,
         {{ACT_PATH, util}, {ACT_PATH_LINE, u"1"_s},
          {ACT_PATHS, util + u'\n' + in(u"src/main.rs"_s)}, {ACT_PATH_LINES, u"1\n3:5"_s}}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(run(row.text), row.expected) << row.description;
}

TEST_F(TraceMatchTest, HostileSelectionsFindWhatTheyHoldAndNothingElse)
{
    const QString util = in(u"src/util.c"_s);
    QString millionLines;
    for (int line = 1; line <= 1000000; ++line)
        millionLines += u"src/util.c:"_s + QString::number(line) + u'\n';
    const Context capped = run(millionLines);
    EXPECT_EQ(capped.value(ACT_PATHS).count(u'\n') + 1, TraceReader::MaximumPlaces);
    EXPECT_TRUE(capped.value(ACT_PATH_LINES).endsWith(u"\n1000"_s));

    const struct
    {
        const char *description;
        QString text;
        Context expected;
    } rows[] = {
        {"a NUL inside a path", u"  --> src/ma\0in.rs:3:5"_s, {}},
        {"bytes that are not UTF-8 are no frame; a path among them is still a word",
         QString::fromUtf8("  File \"app/\xff\xfe.py\", line 3\n\xc3(  --> src/main.rs:3:5"),
         {{ACT_PATH, in(u"src/main.rs"_s)}, {ACT_PATHS, in(u"src/main.rs"_s)}}},
        {"a place after a megabyte line that looks like Perl's",
         u"x line 1 "_s.repeated(150000) + u"\nDied at lib/Run.pm line 9."_s,
         {{ACT_PATH, in(u"lib/Run.pm"_s)}, {ACT_PATH_LINE, u"9"_s},
          {ACT_PATHS, in(u"lib/Run.pm"_s)}, {ACT_PATH_LINES, u"9"_s}}},
        {"a line number too long to be a number is still the digits written",
         u"src/util.c:"_s + u"9"_s.repeated(40), {{ACT_PATH, util}, {ACT_PATH_LINE, u"9"_s.repeated(40)}}},
        {"a place after more lines holding a colon than are tried is a word, without a line",
         u"note: 1\n"_s.repeated(TraceReader::MaximumLinesTried) + u"src/util.c:7: x"_s,
         {{ACT_PATH, util}, {ACT_PATHS, util}}},
        {"a folder is no frame: it is found as a word, without a line", u"  --> src:3:5"_s,
         {{ACT_PATH, in(u"src"_s)}, {ACT_PATHS, in(u"src"_s)}}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(run(row.text), row.expected) << row.description;
}
