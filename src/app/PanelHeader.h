#pragma once

#include "matching/Context.h"

#include <QCoreApplication>
#include <QString>

namespace glimra {

/// What the results panel's header says a guess found, in words: a kind ("File",
/// "3 files", "Web address", "Calculation", "Command", "Text") and the value it found, on
/// one line ("/home/me/proj/src/main.c, line 42", "2*(3+4) = 14"). The panel's own
/// presentation: notifications and scripts keep contentType. Any thread.
class PanelHeader
{
    Q_DECLARE_TR_FUNCTIONS(PanelHeader)
public:
    /// The longest value returned: more than any panel can show on one line, and short
    /// enough to measure at once however large the selection.
    static constexpr qsizetype MaxValueLength = 1000;

    /// The kind of what `matched` holds; "Nothing recognised" when it is empty.
    static QString kind(const Context &matched);
    /// The value `matched` holds on one line (white space runs, line breaks included, shown
    /// as one space), cut to MaxValueLength; when nothing matched, the text of `selection`
    /// so the user sees what was looked at.
    static QString value(const Context &matched, const Context &selection = {});
    /// How a cut value should lose characters: in the middle for one file (its name and line
    /// stay), else at the end.
    static bool elideInTheMiddle(const Context &matched);
    /// The separator between the kind and the value.
    static QString separator();

private:
    static QStringList lines(const QString &value);
    static QString oneLine(const QString &text);
};

} // namespace glimra
