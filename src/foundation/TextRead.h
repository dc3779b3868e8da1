#pragma once

#include <QByteArray>
#include <QString>

namespace glimra {

/// Text read from another program (a selection's owner) within a size limit and a
/// deadline: the text, or its beginning when it was longer, or nothing when the program
/// did not hand it over in time.
struct TextRead
{
    QString text;          ///< null: there is none
    bool cut = false;      ///< it was longer than the limit: `text` holds its beginning
    bool timedOut = false; ///< the program did not hand it over in time (`text` is null)

    /// `bytes` (UTF-8) as a text of at most `maximumBytes` bytes, cut before a character
    /// that would not fit whole; `cut` is set when anything was left out, or when `alreadyCut`
    /// says the bytes themselves are the beginning of more.
    static TextRead fromUtf8(const QByteArray &bytes, qsizetype maximumBytes, bool alreadyCut = false);
    /// `text` cut in the same way.
    static TextRead of(const QString &text, qsizetype maximumBytes);
    /// How many of the first `maximum` bytes of `bytes` end at a character boundary.
    static qsizetype utf8Boundary(const QByteArray &bytes, qsizetype maximum);
};

} // namespace glimra
