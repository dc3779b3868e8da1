#include "matchers/URLMatch.h"

#include "foundation/Strings.h"
#include "foundation/Url.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// A bare host name: ftp or www and a dot, then letters, digits, "_" and dots, then .org,
// .com, .net, .co.uk or .gov, then the end or a "#", "/" or "?" followed by anything. Only
// a word that begins with "ftp." or "www." can be one, so no other word meets an
// expression. Answers the completed URL text, or a null text.
QString completedHost(QStringView word)
{
    static const QString rest = u"\\.[\\.a-zA-Z0-9_]+\\.(org|com|net|co\\.uk|gov)([\\#\\/\\?].*)?$"_s;
    static const QString ftpHost = u"^ftp"_s + rest;
    static const QString wwwHost = u"^www"_s + rest;
    if (word.startsWith(u"ftp.") && glimra::matches(word, ftpHost))
        return u"ftp://"_s.append(word);
    if (word.startsWith(u"www.") && glimra::matches(word, wwwHost))
        return u"http://"_s.append(word);
    return {};
}

template <typename Text>
std::optional<Url> acceptable(const Text &text)
{
    std::optional<Url> url = Url::URLWithString(text);
    if (!url || url->scheme().isNull() || url->scheme() == u"file"_s)
        return std::nullopt;
    return url;
}

QString candidateFor(QStringView word)
{
    const QString host = completedHost(word);
    if (!host.isNull())
        return host;
    return word.contains(u"://") ? word.toString() : QString();
}

} // namespace

URLMatch::URLMatch() : MatcherObject(u"URLMatch"_s) {}

bool URLMatch::matches(Context &workingContext)
{
    const QString value = workingContext.value(CTX_TEXT);
    if (value.isNull())
        return false;
    const QStringView text = QStringView(value).trimmed();
    if (const std::optional<Url> url = acceptable(text)) {
        workingContext.insert(ACT_URL, url->description());
        workingContext.insert(ACT_URLS, url->description());
        return true;
    }
    // The list is built as its final text: one string, however many URLs there are.
    QString first;
    QString found;
    forEachPiece(text, u"()<>,;\"\t\n\r ", [&](QStringView word) {
        const QString candidate = candidateFor(word);
        const std::optional<Url> url = candidate.isNull() ? std::nullopt : acceptable(candidate);
        if (url) {
            if (first.isNull())
                first = url->description();
            else
                found += u'\n';
            found += url->description();
        }
        return true;
    });
    if (first.isNull())
        return false;
    workingContext.insert(ACT_URL, first);
    workingContext.insert(ACT_URLS, found);
    return true;
}

QString URLMatch::whyNot(const Context &workingContext) const
{
    if (!workingContext.contains(CTX_TEXT))
        return NoText.toString();
    return u"no word is a URL with a scheme, or a host name beginning with www. or ftp."_s;
}

} // namespace glimra
