#pragma once

#include "matchers/TraceLocation.h"

#include <QLatin1StringView>
#include <QStringView>

#include <optional>
#include <span>

namespace glimra {

/// The ways tools print a place in a file, one row per form: compilers, test runners, grep
/// and the stack traces of several languages. Each row reads one line, trimmed, by hand:
/// a few prefix tests and at most a few linear scans, so no line, however long or
/// however made, costs more than a small multiple of its length. Pure functions of the
/// text: nothing here looks at the file system.
class TraceForms
{
public:
    struct Form
    {
        QLatin1StringView name;
        /// A line the row reads, as the tool prints it.
        QLatin1StringView example;
        std::optional<TraceLocation> (*read)(QStringView trimmedLine);
    };

    /// The name of the row that reads "path:line[:column]", the form compilers print.
    static constexpr QLatin1StringView PathLineColumn{"path:line[:column]"};

    /// Every line that some row reads holds one of these two marks (and a digit): a reader
    /// of many lines may pass over the others without trying the rows.
    static constexpr QChar Colon{u':'};
    static constexpr QStringView LineWord{u" line "};

    /// Every row, in the order they are tried: those that a line's beginning identifies
    /// first, then the compilers' form, then the forms found anywhere in a line.
    static std::span<const Form> all();

    /// The place that `line` names in the first row that reads it (white space at both
    /// ends does not count); nullopt when no row does. `form` is set; `opensText` is not.
    static std::optional<TraceLocation> read(QStringView line);

    /// The compilers' form over a whole text, as it has always been read: the text before
    /// the first ":" is the path, the digits right after it the line, and digits after the
    /// next ":" the column. Whatever follows, on this line or the next, does not count.
    static std::optional<TraceLocation> readPathLineColumn(QStringView trimmedText);
};

} // namespace glimra
