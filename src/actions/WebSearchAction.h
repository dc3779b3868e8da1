#pragma once

#include "actions/WordAction.h"
#include "foundation/Url.h"

#include <functional>

namespace glimra {

/// "search": looks ACT_WORDS up with a web search engine in the default browser. The
/// engine is the "web_search_url" setting, an http(s) address with "{query}" where the
/// percent-encoded words go; unset or unusable, the default one (over HTTPS, so that the
/// selection does not cross the network in the clear).
class WebSearchAction : public WordAction
{
public:
    static const QString SettingKey;  ///< "web_search_url"
    static const QString DefaultURL;  ///< the address used when the setting is unset or unusable
    static const QString Placeholder; ///< "{query}"

    /// `urlSetting` answers the current "web_search_url" setting (empty when unset); it is
    /// asked once per offer, so an offer's title and what it opens agree.
    explicit WebSearchAction(std::shared_ptr<FileManager> fileManager,
                             std::function<QString()> urlSetting = {});
    void execute(const Context &executionContext, const Completion &done) override;

    enum class Problem { None, NoPlaceholder, NotWeb };
    /// Why `setting` cannot serve as the search address: no "{query}" in it, or not an
    /// http(s) address with a host.
    static Problem problemWith(const QString &setting);
    /// `setting` when it can serve, else the default address; an unusable, non-empty
    /// setting is logged.
    static QString usableURL(const QString &setting);
    /// The query URL for `words` with the address `urlTemplate` (one that can serve).
    static std::optional<Url> searchURL(const QString &words, const QString &urlTemplate = DefaultURL);
    /// The search engine's name as its users know it ("Google", "DuckDuckGo"), else the host
    /// without "www.".
    static QString engineName(const QString &urlTemplate);

    /// This offer's search engine's name.
    QString engineName() const { return engineName(m_urlTemplate); }
    /// The engine, which the title names ("Search DuckDuckGo for …").
    QString titleName() const override { return engineName(); }

protected:
    std::shared_ptr<WordAction> makeOffer() const override;

private:
    std::function<QString()> m_urlSetting;
    QString m_urlTemplate = DefaultURL;
};

} // namespace glimra
