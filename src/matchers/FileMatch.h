#pragma once

#include "matching/MatcherObject.h"

namespace glimra {

/// Recognises existing files and folders: the places a trace names (compiler messages,
/// grep hits, stack frames: TraceForms), a path with a line number as compilers print it
/// ("main.c:42"), a single path, or paths among other words. Relative names resolve
/// against CTX_DIR; a trace's partial paths are also looked for under it. Writes ACT_PATH,
/// and ACT_PATH_LINE (with ACT_PATH_COLUMN when a column follows the line), or ACT_PATHS,
/// or for a trace both, with ACT_PATH_LINES.
class FileMatch : public MatcherObject
{
public:
    FileMatch();
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;

    /// An absolute path other than "/" at which a file or folder exists.
    static bool pathExists(const QString &path);
    /// The trace rule: the places the lines of the text name whose files exist, in text
    /// order, each once. The first goes to ACT_PATH, ACT_PATH_LINE and ACT_PATH_COLUMN; all
    /// of them to ACT_PATHS, with their lines in ACT_PATH_LINES ("LINE" or "LINE:COLUMN",
    /// one per path), unless the text is what the path-with-line rule takes, one
    /// "path:line" opening it, which is written as that rule writes it.
    bool matchesTrace(Context &context) const;
    /// The path-with-line rule; writes ACT_PATH and ACT_PATH_LINE when it succeeds, and
    /// ACT_PATH_COLUMN when the line's digits are followed by ":" and digits.
    bool matchesSingleLineNum(Context &context) const;
    /// The whole trimmed text as one path: an empty list or one path.
    QStringList matchesSingleLine(const Context &context) const;
    /// Every word that names a path, unique, in text order.
    QStringList matchesMultiLine(const Context &context) const;

    /// How many different words the word rule remembers as already resolved.
    static constexpr qsizetype SeenWordsLimit = 1 << 18;

private:
    enum class Joining { Standardized, AsWritten };
    /// The existing path `candidate` names, alone or against CTX_DIR; null when none.
    static QString resolve(const QString &candidate, const Context &context, Joining joining);
};

} // namespace glimra
