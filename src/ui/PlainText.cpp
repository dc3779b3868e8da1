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

void PlainText::use(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
}

} // namespace glimra
