// The trace forms: every line of a selection is read by them, whatever it holds.
#include "FuzzSupport.h"

#include "matchers/TraceForms.h"

#include <QStringList>

#include <algorithm>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

bool isDigits(const QString &text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isRowName(QLatin1StringView name)
{
    const auto rows = TraceForms::all();
    return std::any_of(rows.begin(), rows.end(), [name](const TraceForms::Form &form) {
        return form.name == name;
    });
}

void checkReading(const std::optional<TraceLocation> &place)
{
    if (!place)
        return;
    fuzz::check(!place->path.isEmpty() && !place->path.contains(QChar(0)),
                "a place names a path, without a NUL");
    fuzz::check(isDigits(place->line), "a line is digits");
    fuzz::check(place->column.isNull() || isDigits(place->column), "a column is digits or none");
    fuzz::check(isRowName(place->form), "a place says which row read it");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::text(data, size);
    for (const QString &line : text.split(u'\n')) {
        const std::optional<TraceLocation> place = TraceForms::read(line);
        checkReading(place);
        fuzz::check(!place || line.contains(TraceForms::Colon) || line.contains(TraceForms::LineWord),
                    "a line read as a place holds one of the marks readers look for");
        const std::optional<TraceLocation> padded = TraceForms::read(u"  "_s + line + u"\t\r"_s);
        fuzz::check(padded.has_value() == place.has_value()
                        && (!place || (padded->path == place->path && padded->line == place->line)),
                    "white space around a line does not change what it names");
    }
    const std::optional<TraceLocation> whole = TraceForms::readPathLineColumn(QStringView(text).trimmed());
    fuzz::check(!whole || (isDigits(whole->line) && whole->form == TraceForms::PathLineColumn),
                "the compilers' form over a whole text reads digits");
    return 0;
}
