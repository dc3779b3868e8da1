#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace glimra {

/// Type-to-filter in the results panel: whether a row's text holds the typed letters in
/// order (a subsequence, ignoring case), and how well. Letters that follow each other in
/// the text, begin a word or come early score higher. Any thread.
class SubsequenceMatch
{
public:
    /// The score of `text` for `typed`; nullopt when `typed` is not a subsequence of it.
    /// Every text scores 0 for nothing typed.
    static std::optional<int> score(QStringView typed, QStringView text);

    /// The indexes of the rows whose texts (any of a row's texts: its title, its path) hold
    /// `typed`, best first; rows that score the same keep their order.
    static QList<int> ranked(const QString &typed, const QList<QStringList> &rows);

private:
    static std::optional<int> scoreFrom(QStringView typed, QStringView text, qsizetype start);
};

} // namespace glimra
