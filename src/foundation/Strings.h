#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>

namespace glimra {

/// The text without white space and line breaks at both ends. A null text stays null, and a
/// non-null text never becomes null (an all-blank text trims to the empty text), because
/// callers tell "absent" from "present but empty".
QString trim(const QString &text);

/// Splits at every character of `separators`; empty pieces are dropped, so no caller ever
/// sees an empty word or an empty line. A null or empty text gives an empty list.
QStringList split(const QString &text, const QString &separators);

/// True when `pattern` matches anywhere in `text`. A pattern that does not compile never
/// matches.
bool matches(const QString &text, const QString &pattern);

/// The text of the first match of `pattern` in `text`, or a null text.
QString matchFirst(const QString &text, const QString &pattern);

/// The first match: the whole match followed by every capture group (a group that did not
/// take part gives the empty text). No match, or a pattern that does not compile: nullopt.
std::optional<QStringList> matchMultiple(const QString &text, const QString &pattern);

/// Percent-encodes everything but the unreserved characters (letters, digits, "-._~") of the
/// text's UTF-8 bytes: a space becomes %20 and "&" becomes %26.
QString stringURLEncoded(const QString &text);

bool str_isNullOrEmpty(const QString &text);
bool str_isNotNullOrEmpty(const QString &text);

/// `text`, or the empty (non-null) text when `text` is null.
QString nonNull(const QString &text);

/// The compiled form of `pattern`, from a small per-thread cache. Check isValid().
QRegularExpression cachedRegularExpression(const QString &pattern,
                                           QRegularExpression::PatternOptions options = {});

} // namespace glimra
