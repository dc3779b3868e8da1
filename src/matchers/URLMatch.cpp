#include "matchers/URLMatch.h"

#include "foundation/Strings.h"
#include "foundation/Url.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Bare host names, tried in this order; the prefix decides the scheme put in front.
const QStringList &hostPatterns()
{
    static const QStringList patterns = [] {
        QStringList all;
        for (const QString &host : {u"ftp"_s, u"www"_s}) {
            for (const QString &ending : {u"org"_s, u"com"_s, u"net"_s, u"co\\.uk"_s, u"gov"_s})
                all.append(u"^%1\\.[\\.a-zA-Z0-9_]+\\.%2([\\#\\/\\?].*)?$"_s.arg(host, ending));
        }
        return all;
    }();
    return patterns;
}

std::optional<Url> acceptable(const QString &text)
{
    std::optional<Url> url = Url::URLWithString(text);
    if (!url || url->scheme().isNull() || url->scheme() == u"file"_s)
        return std::nullopt;
    return url;
}

QString candidateFor(const QString &word)
{
    const QStringList &patterns = hostPatterns();
    for (qsizetype i = 0; i < patterns.size(); ++i) {
        if (glimra::matches(word, patterns.at(i)))
            return (i < 5 ? u"ftp://"_s : u"http://"_s) + word;
    }
    return word.contains(u"://"_s) ? word : QString();
}

} // namespace

URLMatch::URLMatch() : MatcherObject(u"URLMatch"_s) {}

bool URLMatch::matches(Context &workingContext)
{
    const QString text = trim(workingContext.value(CTX_TEXT));
    if (text.isNull())
        return false;
    if (const std::optional<Url> url = acceptable(text)) {
        workingContext.insert(ACT_URL, url->description());
        workingContext.insert(ACT_URLS, url->description());
        return true;
    }
    QStringList found;
    for (const QString &word : split(text, u"()<>,;\"\t\n\r "_s)) {
        const QString candidate = candidateFor(word);
        if (candidate.isNull())
            continue;
        if (const std::optional<Url> url = acceptable(candidate))
            found.append(url->description());
    }
    if (found.isEmpty())
        return false;
    workingContext.insert(ACT_URL, found.first());
    workingContext.insert(ACT_URLS, found.join(u'\n'));
    return true;
}

} // namespace glimra
