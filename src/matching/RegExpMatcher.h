#pragma once

#include "matching/MatcherObject.h"

#include <optional>

namespace glimra {

/// One of the user's "regexp_matchers" entries: when the expression matches a line of the
/// captured text, or failing that a word of it, the matcher stores the matching text, or
/// the value template with $0, $1, … replaced by the pieces of the match, under its key.
/// The expression runs within BoundedRegexp's limits, off the main thread; one that
/// reaches a limit does not match, and says which limit in whyNot() and a log line.
class RegExpMatcher : public MatcherObject
{
public:
    /// initMatchKey:value:withRegExp:
    RegExpMatcher(QString matchedKey, QString matchedValue, QString regexp);

    QString matched_key() const { return m_matchedKey; }
    QString matched_value() const { return m_matchedValue; }
    QString regexp() const { return m_regexp; }
    QString kind() const override;

    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
    /// Its place in "regexp_matchers", which explanations name it by.
    void setEntry(qsizetype entry) { m_entry = entry; }

    /// The template with "$i" replaced by piece i, for i = 0, 1, …, each replacement made
    /// on the text the previous ones left ("$10" is consumed by the replacement of "$1").
    /// A replacement that would make the value longer than MaximumExpandedLength, or than
    /// the template and the longest piece together, is not made, nor are those after it:
    /// their placeholders stay as written.
    QString expandAll(const QStringList &pieces) const;

    static constexpr qsizetype MaximumExpandedLength = 1 << 16;

    /// The limit the expression reached in the last matches(); null when none.
    QString limitReached() const { return m_limitReached; }

private:
    struct Result
    {
        std::optional<QString> value;
        QString limitReached;
    };
    Result matchText(const QString &text) const;

    QString m_matchedKey;
    QString m_matchedValue;
    QString m_regexp;
    qsizetype m_entry = -1;
    QString m_limitReached;
};

} // namespace glimra
