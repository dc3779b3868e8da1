#include "foundation/TextRead.h"

namespace glimra {

qsizetype TextRead::utf8Boundary(const QByteArray &bytes, qsizetype maximum)
{
    if (maximum >= bytes.size())
        return bytes.size();
    // A continuation byte (10xxxxxx) at the cut belongs to a character begun before it,
    // at most three bytes back.
    qsizetype end = qMax<qsizetype>(maximum, 0);
    const qsizetype earliest = qMax<qsizetype>(end - 3, 0);
    while (end > earliest && (uchar(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    return end;
}

TextRead TextRead::fromUtf8(const QByteArray &bytes, qsizetype maximumBytes, bool alreadyCut)
{
    TextRead read;
    if (bytes.isNull())
        return read;
    const qsizetype kept = utf8Boundary(bytes, maximumBytes);
    read.text = QString::fromUtf8(bytes.constData(), kept);
    read.cut = alreadyCut || kept < bytes.size();
    return read;
}

TextRead TextRead::of(const QString &text, qsizetype maximumBytes)
{
    // Three bytes at most for each UTF-16 unit: a text that short fits without a copy.
    if (text.isNull() || text.size() <= maximumBytes / 3)
        return {text, false, false};
    return fromUtf8(text.toUtf8(), maximumBytes);
}

} // namespace glimra
