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
QStringList split(const QString &text, QStringView separators);

/// Calls `visit` with each piece that split() would give, in order, as a view into `text`,
/// until `visit` returns false; answers false when it was stopped. Nothing is copied, so a
/// text of millions of words costs no memory per word. The views live as long as `text`.
template <typename Visit>
bool forEachPiece(QStringView text, QStringView separators, Visit &&visit)
{
    // ASCII separators in a bit table: one look-up per character of a long text instead of
    // a search of the separators.
    quint64 ascii[2] = {0, 0};
    for (const QChar separator : separators) {
        if (separator.unicode() < 128)
            ascii[separator.unicode() >> 6] |= quint64(1) << (separator.unicode() & 63);
    }
    const auto isSeparator = [&](QChar c) {
        const char16_t code = c.unicode();
        return code < 128 ? ((ascii[code >> 6] >> (code & 63)) & 1) != 0 : separators.contains(c);
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isSeparator(text[i]))
            continue;
        if (i > start && !visit(text.sliced(start, i - start)))
            return false;
        start = i + 1;
    }
    return true;
}

/// True when `pattern` matches anywhere in `text`. A pattern that does not compile never
/// matches.
bool matches(QStringView text, const QString &pattern);

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
