#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace glimra {

/// A command written as one line of text ("code --goto {file}:{line}"), split into words the
/// way a POSIX shell splits them — blanks separate words; single quotes, double quotes and
/// backslashes quote — but with nothing expanded and no shell ever run: "$HOME", "*" and
/// "$(...)" stay as written. A value, usable on any thread.
class CommandTemplate
{
public:
    /// The words of `text`; nullopt when a quote is left open or a backslash ends the text.
    static std::optional<CommandTemplate> parse(const QString &text);

    QStringList words() const { return m_words; }
    bool isEmpty() const { return m_words.isEmpty(); }
    /// True when some word holds `placeholder` (such as "{file}").
    bool contains(const QString &placeholder) const;
    /// The words with every placeholder (a key of `values`, such as "{line}") replaced by its
    /// value inside its word, in one pass: a value that itself looks like a placeholder stays
    /// as it is.
    QStringList expanded(const QHash<QString, QString> &values) const;

private:
    QStringList m_words;
};

} // namespace glimra
