#include "ui/PlainText.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace glimra {

QString PlainText::toolTip(const QString &text)
{
    if (text.isEmpty())
        return text;
    // Escaped inside a rich text that keeps white space: whatever the text holds, it is
    // shown as characters.
    return u"<p style='white-space:pre-wrap'>"_s + text.toHtmlEscaped() + u"</p>"_s;
}

QString PlainText::menuText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(u'&', u"&&"_s);
}

QString PlainText::markdown(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (c.unicode() < 128 && c.isPunct())
            escaped += u'\\';
        else if (c.unicode() < 128 && QStringView(u"<>`$^|+=~").contains(c))
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

namespace {

const QChar ZeroWidthSpace(0x200b);
const QChar ReturnSymbol(0x23ce);
// Fewer characters than this fit any row of the panel, whose width has a minimum.
constexpr qsizetype LongWord = 16;

// The picture of a control character (U+2400 + code, U+2421 for DEL), else `c` itself.
char32_t visibleCodePoint(char32_t c)
{
    if (c < 0x20)
        return 0x2400 + c;
    if (c == 0x7f)
        return 0x2421;
    return c;
}

} // namespace

QString PlainText::wrappedWhole(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    QString shown;
    shown.reserve(text.size() * 2);
    qsizetype word = 0; // characters shown since the last space or line break
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t c = codePoints.at(i);
        // Only a plain space is sure to let a line break: a no-break space is none, and a
        // control character (a line break among them) shows as a picture.
        word = c == u' ' ? 0 : word + 1;
        const bool lastOfLine = c == u'\n' && (i + 1 == codePoints.size() || codePoints.at(i + 1) != u'\n');
        if (c == u'\n')
            shown += ReturnSymbol;
        else
            shown += QStringView(QChar::fromUcs4(visibleCodePoint(c)));
        if (lastOfLine) {
            shown += u'\n';
            word = 0;
        }
        // A word as long as a row may be wide breaks after any character (a mark stays with
        // the one before it); a shorter one wraps at a space, as text does.
        else if (word >= LongWord && i + 1 < codePoints.size() && !QChar::isMark(codePoints.at(i + 1)))
            shown += ZeroWidthSpace;
    }
    return shown;
}

void PlainText::use(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
}

} // namespace glimra
