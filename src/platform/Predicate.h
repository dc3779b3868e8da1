#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <optional>

namespace glimra {

/// A condition over a dictionary of values, written in the predicate format language:
/// string and number literals (single or double quotes, backslash escapes), key names,
/// == = != <> < <= > >=, BEGINSWITH, ENDSWITH, CONTAINS, LIKE (* and ?), MATCHES (a
/// regular expression over the whole text), IN {…}, the modifiers [c] [d] [cd], AND/&&,
/// OR/||, NOT/!, parentheses, TRUEPREDICATE, FALSEPREDICATE; keywords in any letter case.
/// Immutable and cheap to copy.
class Predicate
{
public:
    struct Node;

    /// The predicate for `format`, or nullopt with a message in `error` when the text does
    /// not parse. Never crashes on any input.
    static std::optional<Predicate> predicateWithFormat(const QString &format,
                                                        QString *error = nullptr);

    /// True when the condition holds for `object`. A missing key compares as nil.
    bool evaluateWithObject(const QVariantMap &object) const;


    /// A text that the value of `key` must hold for the predicate to be true: from an
    /// ==, BEGINSWITH, ENDSWITH or CONTAINS against a literal text, alone or in a chain of
    /// ANDs. Lets a search narrow its candidates by name.
    struct RequiredText
    {
        QString text;                      ///< the literal, as written
        bool whole = false;                ///< the value equals the text
        bool caseInsensitive = false;      ///< compared without regard to letter case
        bool diacriticInsensitive = false; ///< compared without diacritics: folded() both
    };
    /// The first required text that is compared with its diacritics (no [d]): the value
    /// holds it literally (or, with caseInsensitive, in some letter case).
    std::optional<RequiredText> requiredText(const QString &key) const;
    /// Every required text, in the order written.
    QList<RequiredText> requiredTexts(const QString &key) const;

    /// `text` as a comparison with these modifiers sees it: [c] case folds it, [d] takes
    /// its diacritics away (the marks of its canonical decomposition).
    static QString folded(const QString &text, bool caseInsensitive, bool diacriticInsensitive);

    /// Every key the predicate reads.
    QStringList referencedKeys() const;
    /// The same condition, reading the key `names[k]` wherever this one reads a key k that
    /// `names` holds: lets a reader accept other names for the keys it knows.
    Predicate withKeysRenamed(const QHash<QString, QString> &names) const;

    /// Escapes `text` for use between double quotes in a format.
    static QString quoted(const QString &text);

private:
    Predicate(std::shared_ptr<const Node> root, QString format);

    std::shared_ptr<const Node> m_root;
    QString m_format;
};

} // namespace glimra
