#include "foundation/Url.h"

#include "foundation/Paths.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAllowedCharacter(QChar c)
{
    if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
        return false;
    static const QString excluded = u"<>\"{}|\\^`"_s;
    return !excluded.contains(c);
}

bool isValidReference(QStringView text)
{
    if (text.isNull())
        return false;
    int fragments = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isAllowedCharacter(c))
            return false;
        if (c == u'#' && ++fragments > 1)
            return false;
        if (c == u'%' && (i + 2 >= text.size() || !isHexDigit(text.at(i + 1))
                          || !isHexDigit(text.at(i + 2))))
            return false;
    }
    return true;
}

// Length of the scheme, or 0 when the text is a relative reference.
qsizetype schemeLength(const QString &text)
{
    if (text.isEmpty() || !text.at(0).isLetter())
        return 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u':')
            return i;
        if (!(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.'))
            return 0;
    }
    return 0;
}

} // namespace

std::optional<Url> Url::URLWithString(const QString &text)
{
    return isValidReference(text) ? std::optional<Url>(Url(text)) : std::nullopt;
}

std::optional<Url> Url::URLWithString(QStringView text)
{
    return isValidReference(text) ? std::optional<Url>(Url(text.toString())) : std::nullopt;
}

Url Url::fileURLWithPath(const QString &path)
{
    QString absolute = path.startsWith(u'/') ? path : QDir::current().absoluteFilePath(path);
    if (!absolute.endsWith(u'/') && dir_exists(absolute))
        absolute += u'/';
    const QByteArray encoded = QUrl::toPercentEncoding(absolute, "/!$&'()*+,;=:@~");
    return Url(u"file://"_s + QString::fromLatin1(encoded));
}

QString Url::scheme() const
{
    const qsizetype length = schemeLength(m_text);
    return length > 0 ? m_text.left(length) : QString();
}

QString Url::path() const
{
    const qsizetype length = schemeLength(m_text);
    QString rest = length > 0 ? m_text.mid(length + 1) : m_text;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest.at(i) == u'?' || rest.at(i) == u'#') {
            rest.truncate(i);
            break;
        }
    }
    if (rest.startsWith(u"//"_s)) {
        const qsizetype slash = rest.indexOf(u'/', 2);
        rest = slash < 0 ? u""_s : rest.mid(slash);
    } else if (length > 0 && !rest.startsWith(u'/')) {
        return {};
    }
    return QString::fromUtf8(QByteArray::fromPercentEncoding(rest.toLatin1()));
}

bool Url::isFileURL() const
{
    return scheme() == u"file"_s;
}

} // namespace glimra
