#include "matchers/TraceForms.h"

#include <QUrl>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The run of ASCII digits that begins at `from`; empty when none does.
QStringView digitsAt(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return text.sliced(from, end - from);
}

// The run of ASCII digits that ends right before `end`; empty when none does.
QStringView digitsBefore(QStringView text, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && isDigit(text[start - 1]))
        --start;
    return text.sliced(start, end - start);
}

TraceLocation location(QStringView path, QStringView line, QStringView column = {})
{
    return {path.toString(), line.toString(), column.isNull() ? QString() : column.toString(), {}};
}

// "PATH:LINE" or "PATH:LINE:COLUMN" that takes the whole of `text`, read from its end, so
// that a colon inside the path ("node:internal/...") stays in the path.
std::optional<TraceLocation> locationAtEnd(QStringView text)
{
    const QStringView last = digitsBefore(text, text.size());
    const qsizetype colon = text.size() - last.size() - 1;
    if (last.isEmpty() || colon < 1 || text[colon] != u':')
        return std::nullopt;
    const QStringView previous = digitsBefore(text, colon);
    const qsizetype firstColon = colon - previous.size() - 1;
    if (!previous.isEmpty() && firstColon >= 1 && text[firstColon] == u':')
        return location(text.first(firstColon), previous, last);
    return location(text.first(colon), last);
}

std::optional<TraceLocation> withColumn(std::optional<TraceLocation> place)
{
    return place && !place->column.isNull() ? place : std::nullopt;
}

// `text` after `prefix`, trimmed; null when it does not begin so.
QStringView after(QStringView text, QStringView prefix)
{
    return text.startsWith(prefix) ? text.sliced(prefix.size()).trimmed() : QStringView();
}

// Python:   File "/srv/app/models.py", line 214, in save
std::optional<TraceLocation> readPython(QStringView line)
{
    constexpr QStringView open = u"File \"";
    constexpr QStringView close = u"\", line ";
    if (!line.startsWith(open))
        return std::nullopt;
    const qsizetype end = line.indexOf(close, open.size());
    if (end < 0)
        return std::nullopt;
    const QStringView number = digitsAt(line, end + close.size());
    if (number.isEmpty())
        return std::nullopt;
    return location(line.sliced(open.size(), end - open.size()), number);
}

// rustc and cargo:   --> src/main.rs:3:5   and the other places of a message:   ::: src/lib.rs:9:1
std::optional<TraceLocation> readRust(QStringView line)
{
    QStringView place = after(line, u"--> ");
    if (place.isNull())
        place = after(line, u"::: ");
    return place.isNull() ? std::nullopt : locationAtEnd(place);
}

// A Rust panic:   thread 'main' panicked at src/main.rs:3:5:
// and before Rust 1.73:   thread 'main' panicked at 'message', src/main.rs:3:5
std::optional<TraceLocation> readRustPanic(QStringView line)
{
    constexpr QStringView panicked = u"' panicked at ";
    if (!line.startsWith(u"thread '"))
        return std::nullopt;
    const qsizetype at = line.indexOf(panicked);
    if (at < 0)
        return std::nullopt;
    QStringView place = line.sliced(at + panicked.size());
    if (place.endsWith(u':'))
        place.chop(1);
    if (place.startsWith(u'\'')) {
        const qsizetype comma = place.lastIndexOf(u", ");
        if (comma < 0)
            return std::nullopt;
        place = place.sliced(comma + 2);
    }
    return locationAtEnd(place);
}

// The folders of the package a qualified Java method name lies in: "com/example" for
// "com.example.Shop.pay" (a module or class loader before a "/" left out); empty in the
// default package.
QString packageFolders(QStringView method)
{
    method = method.sliced(method.lastIndexOf(u'/') + 1);
    QStringList parts = method.toString().split(u'.');
    if (parts.size() < 3)
        return {};
    parts.resize(parts.size() - 2); // the class and the method
    return parts.join(u'/');
}

// Java and Kotlin:   at com.example.Shop.pay(Shop.java:42)
// The file is named without its folder; the package says which folders it lies in, which
// the path read here holds: "com/example/Shop.java".
std::optional<TraceLocation> readJava(QStringView line)
{
    if (!line.startsWith(u"at ") || !line.endsWith(u')'))
        return std::nullopt;
    const qsizetype open = line.indexOf(u'(');
    const QStringView method = line.sliced(3, std::max<qsizetype>(open - 3, 0));
    if (method.isEmpty() || method.contains(u' '))
        return std::nullopt;
    std::optional<TraceLocation> place = locationAtEnd(line.sliced(open + 1, line.size() - open - 2));
    if (!place || !place->column.isNull() || place->path.contains(u'/'))
        return std::nullopt;
    const QString folders = packageFolders(method);
    if (!folders.isEmpty())
        place->path = folders + u'/' + place->path;
    return place;
}

// Node.js:   at handler (/srv/web/index.js:10:5)   and   at /srv/web/index.js:10:5
// A module loaded as an ES module is named by its file URL.
std::optional<TraceLocation> readNode(QStringView line)
{
    QStringView place = after(line, u"at ");
    if (place.isNull())
        return std::nullopt;
    if (place.endsWith(u')')) {
        const qsizetype open = place.lastIndexOf(u'(');
        if (open < 0)
            return std::nullopt;
        place = place.sliced(open + 1, place.size() - open - 2);
    }
    std::optional<TraceLocation> found = withColumn(locationAtEnd(place));
    if (found && found->path.startsWith(u"file://"_s)) {
        found->path = QUrl(found->path).toLocalFile();
        if (found->path.isEmpty())
            return std::nullopt;
    }
    return found;
}

// GCC and Clang:   In file included from src/main.c:3:
// and GCC's next lines of the chain:                    from src/util.h:5,
std::optional<TraceLocation> readIncludeChain(QStringView line)
{
    QStringView place = after(line, u"In file included from ");
    if (place.isNull())
        place = after(line, u"from ");
    if (place.endsWith(u':') || place.endsWith(u','))
        place.chop(1);
    return place.isNull() ? std::nullopt : locationAtEnd(place);
}

std::optional<TraceLocation> readPathLineColumnRow(QStringView line)
{
    return TraceForms::readPathLineColumn(line);
}

// Perl:   Died at /usr/share/app/Run.pm line 77.   (anywhere in the line, after "at")
std::optional<TraceLocation> readPerl(QStringView line)
{
    constexpr QStringView word = u" line ";
    for (qsizetype at = line.indexOf(word); at >= 0; at = line.indexOf(word, at + 1)) {
        const QStringView number = digitsAt(line, at + word.size());
        // The path is the word before; the scan back stops at the space before it, so the
        // scans of all the occurrences together read the line at most once.
        const qsizetype start = line.lastIndexOf(u' ', at - 1) + 1;
        if (number.isEmpty() || start == at || start < 3 || line.sliced(start - 3, 3) != u"at "
            || (start > 3 && !line[start - 4].isSpace()))
            continue;
        return location(line.sliced(start, at - start), number);
    }
    return std::nullopt;
}

// bash:   ./deploy.sh: line 12: foo: command not found   (the path after any "NAME: " before it)
std::optional<TraceLocation> readShell(QStringView line)
{
    constexpr QStringView word = u": line ";
    for (qsizetype at = line.indexOf(word); at >= 0; at = line.indexOf(word, at + 1)) {
        const QStringView number = digitsAt(line, at + word.size());
        const qsizetype end = at + word.size() + number.size();
        if (number.isEmpty() || end >= line.size() || line[end] != u':')
            continue;
        const qsizetype start = at > 0 ? line.lastIndexOf(u": ", at - 1) : -1;
        const qsizetype from = start < 0 ? 0 : start + 2;
        if (from < at)
            return location(line.sliced(from, at - from), number);
    }
    return std::nullopt;
}

// Most rows are told apart by how the line begins; the compilers' form takes any line with
// a ":" and digits, so it comes after them; Perl's and the shell's forms stand anywhere in a
// line, after whatever the program said first, so they come last.
constexpr std::array Forms = {
    TraceForms::Form{"Python traceback"_L1, R"(  File "/srv/app/models.py", line 214, in save)"_L1,
                     readPython},
    TraceForms::Form{"Rust and cargo"_L1, "  --> src/main.rs:3:5\n   ::: src/lib.rs:9:1"_L1, readRust},
    TraceForms::Form{"Rust panic"_L1,
                     "thread 'main' panicked at src/main.rs:3:5:\n"
                     "thread 'main' panicked at 'boom', src/main.rs:3:5"_L1,
                     readRustPanic},
    TraceForms::Form{"Java and Kotlin stack"_L1, "\tat com.example.Shop.pay(Shop.java:42)"_L1, readJava},
    TraceForms::Form{"Node.js stack"_L1,
                     "    at handler (/srv/web/index.js:10:5)\n    at /srv/web/index.js:10:5"_L1,
                     readNode},
    TraceForms::Form{"C and C++ include chain"_L1,
                     "In file included from src/main.c:3:\n                 from src/util.h:5,"_L1,
                     readIncludeChain},
    TraceForms::Form{TraceForms::PathLineColumn,
                     // compilers, pytest, grep -n and git grep -n, ripgrep --vimgrep, a Go
                     // panic's frames, go test
                     "src/main.c:12:5: error: expected ';'\n"
                     "tests/test_models.py:88: AssertionError\n"
                     "src/util.c:120:    return 0;\n"
                     "src/util.c:120:5:    return 0;\n"
                     "\t/home/me/go/src/app/server.go:57 +0x1d\n"
                     "    server_test.go:12: want 3"_L1,
                     readPathLineColumnRow},
    TraceForms::Form{"Perl"_L1, "Died at /usr/share/app/Run.pm line 77."_L1, readPerl},
    TraceForms::Form{"shell"_L1, "./deploy.sh: line 12: foo: command not found"_L1, readShell},
};

} // namespace

std::span<const TraceForms::Form> TraceForms::all()
{
    return Forms;
}

std::optional<TraceLocation> TraceForms::read(QStringView line)
{
    line = line.trimmed();
    // Every form has a line number: a line without a digit is passed over in one scan.
    if (std::none_of(line.begin(), line.end(), isDigit))
        return std::nullopt;
    for (const Form &form : Forms) {
        std::optional<TraceLocation> place = form.read(line);
        if (!place)
            continue;
        // A NUL names no file; nor does nothing.
        if (place->path.isEmpty() || place->path.contains(QChar(0)))
            return std::nullopt;
        place->form = form.name;
        return place;
    }
    return std::nullopt;
}

std::optional<TraceLocation> TraceForms::readPathLineColumn(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1)
        return std::nullopt;
    const QStringView line = digitsAt(text, colon + 1);
    if (line.isEmpty())
        return std::nullopt;
    // Compilers write "file:line:column:"; an editor can go to the column too.
    const qsizetype afterLine = colon + 1 + line.size();
    QStringView column;
    if (afterLine < text.size() && text[afterLine] == u':')
        column = digitsAt(text, afterLine + 1);
    TraceLocation place = location(text.first(colon), line, column.isEmpty() ? QStringView() : column);
    place.form = PathLineColumn;
    return place;
}

} // namespace glimra
