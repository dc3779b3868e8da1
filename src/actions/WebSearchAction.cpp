#include "actions/WebSearchAction.h"

#include "foundation/Log.h"
#include "foundation/Strings.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace glimra {

const QString WebSearchAction::SettingKey = u"web_search_url"_s;
const QString WebSearchAction::DefaultURL =
    u"https://www.google.com/search?client=safari&rls=en&q={query}&ie=UTF-8&oe=UTF-8"_s;
const QString WebSearchAction::Placeholder = u"{query}"_s;

WebSearchAction::WebSearchAction(std::shared_ptr<FileManager> fileManager, std::function<QString()> urlSetting)
    : WordAction(u"WebSearchAction"_s, u"search"_s, std::move(fileManager)),
      m_urlSetting(std::move(urlSetting))
{
}

std::shared_ptr<WordAction> WebSearchAction::makeOffer() const
{
    auto offer = std::make_shared<WebSearchAction>(fileManager());
    offer->m_urlTemplate = usableURL(m_urlSetting ? m_urlSetting() : QString());
    return offer;
}

WebSearchAction::Problem WebSearchAction::problemWith(const QString &setting)
{
    if (!setting.contains(Placeholder))
        return Problem::NoPlaceholder;
    const QUrl url(QString(setting).replace(Placeholder, u"x"_s), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"https"_s && scheme != u"http"_s) || url.host().isEmpty())
        return Problem::NotWeb;
    return Problem::None;
}

QString WebSearchAction::usableURL(const QString &setting)
{
    if (setting.trimmed().isEmpty())
        return DefaultURL;
    const Problem problem = problemWith(setting.trimmed());
    if (problem == Problem::None)
        return setting.trimmed();
    qCInfo(lcActions).noquote() << u"%1 is passed over: %2; the default address is used"_s.arg(
        SettingKey, problem == Problem::NoPlaceholder ? u"it has no %1"_s.arg(Placeholder)
                                                      : u"it is no http or https address"_s);
    return DefaultURL;
}

std::optional<Url> WebSearchAction::searchURL(const QString &words, const QString &urlTemplate)
{
    // Every character that could end the query or start another parameter is encoded.
    return Url::URLWithString(QString(urlTemplate).replace(Placeholder, stringURLEncoded(words)));
}

QString WebSearchAction::engineName(const QString &urlTemplate)
{
    static const QList<std::pair<QString, QString>> known = {
        {u"google"_s, u"Google"_s},         {u"duckduckgo"_s, u"DuckDuckGo"_s},
        {u"bing"_s, u"Bing"_s},             {u"startpage"_s, u"Startpage"_s},
        {u"ecosia"_s, u"Ecosia"_s},         {u"qwant"_s, u"Qwant"_s},
        {u"brave"_s, u"Brave Search"_s},    {u"kagi"_s, u"Kagi"_s},
        {u"wikipedia"_s, u"Wikipedia"_s},   {u"yahoo"_s, u"Yahoo"_s},
        {u"mojeek"_s, u"Mojeek"_s},         {u"yandex"_s, u"Yandex"_s},
    };
    QString host = QUrl(QString(urlTemplate).replace(Placeholder, u"x"_s)).host().toLower();
    if (host.startsWith(u"www."_s))
        host.remove(0, 4);
    for (const QString &label : host.split(u'.'))
        for (const auto &[name, shown] : known)
            if (label == name)
                return shown;
    return host;
}

void WebSearchAction::execute(const Context &, const Completion &done)
{
    const std::optional<Url> url = searchURL(word(), m_urlTemplate);
    if (!url)
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "the words make no valid address")));
    if (!fileManager())
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "there is no desktop to open it on")));
    fileManager()->open(*url, done);
}

} // namespace glimra
