#pragma once

#include <QString>

#include <optional>

namespace glimra {

/// A URL reference held as the text it was made from, standing in for the platform URL
/// class. Only texts that are valid URI references by RFC 2396's character rules exist
/// as Urls.
class Url
{
public:
    /// The URL for `text`, or nullopt when the text holds a space, a control or non-ASCII
    /// character, one of <>"{}|\^ or a backtick, a "%" not followed by two hex digits, or
    /// more than one "#".
    static std::optional<Url> URLWithString(const QString &text);
    /// The same for a part of a text: only a valid reference is copied, so testing a large
    /// text that is no URL costs no copy of it.
    static std::optional<Url> URLWithString(QStringView text);

    /// The file URL of `path` ("file://" and the percent-encoded absolute path), with a
    /// trailing "/" when an existing folder is named.
    static Url fileURLWithPath(const QString &path);

    /// The scheme, or a null text for a relative reference. "main.c:42" has the scheme
    /// "main.c", as the grammar says.
    QString scheme() const;

    /// The path with percent escapes decoded; null for an opaque URL such as "mailto:x@y".
    QString path() const;

    QString absoluteString() const { return m_text; }
    QString description() const { return m_text; }
    bool isFileURL() const;

    bool operator==(const Url &) const = default;

private:
    explicit Url(QString text) : m_text(std::move(text)) {}

    QString m_text;
};


} // namespace glimra
