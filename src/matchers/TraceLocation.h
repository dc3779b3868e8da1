#pragma once

#include <QLatin1StringView>
#include <QString>

namespace glimra {

/// A place in a file that one line of a trace names: a compiler message, a stack frame, a
/// grep hit. Read from the text, `path` is the file as written there; once resolved, the
/// existing file's absolute path.
struct TraceLocation
{
    QString path;
    /// One or more decimal digits.
    QString line;
    /// Decimal digits where the form gives a column; null where it gives none.
    QString column;
    /// The name of the form that read it (a row of TraceForms).
    QLatin1StringView form;
    /// The line of the text it came from is the text's first line that is not blank.
    bool opensText = false;

    /// The line, and ":" and the column when there is one: "214", "3:5".
    QString lineAndColumn() const { return column.isNull() ? line : line + u':' + column; }

    friend bool operator==(const TraceLocation &, const TraceLocation &) = default;
};

} // namespace glimra
