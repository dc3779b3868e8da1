#include "capture/WindowReportScript.h"

#include "capture/TerminalSession.h"
#include "capture/WindowFacts.h"
#include "foundation/Paths.h"
#include "matching/Context.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace glimra {

WindowReportScript::WindowReportScript(Order order) : m_order(order) {}

QString WindowReportScript::pathInTitle(const QString &title)
{
    static const QRegularExpression inParentheses(u"\\((~?/[^()]*)\\)"_s);
    static const QRegularExpression afterBlank(u"(?:^|\\s|:)(~?/\\S*)"_s);
    static const QRegularExpression trailing(u"[\\s,;:]+$"_s);
    for (const QRegularExpression *pattern : {&inParentheses, &afterBlank}) {
        for (const QRegularExpressionMatch &match : pattern->globalMatch(title)) {
            QString path = match.captured(1);
            if (path == u"~"_s || path.startsWith(u"~/"_s))
                path = homeDir() + path.mid(1);
            path.remove(trailing);
            if (QFileInfo::exists(path))
                return path;
        }
    }
    return {};
}

QVariant WindowReportScript::call(const QString &handler, const QJsonArray &args,
                                  QString *failure) const
{
    if (handler != u"selected_files"_s) {
        if (failure)
            *failure = u"no handler %1"_s.arg(handler);
        return {};
    }
    const WindowFacts window = WindowFacts::fromArguments(args);
    if (window.id == 0)
        return {};
    QVariantMap report;
    if (!window.windowClass.isNull())
        report.insert(APP_NAME, window.windowClass);
    if (!window.title.isNull())
        report.insert(WIN_NAME, window.title);
    const auto fromTitle = [&] { return pathInTitle(window.title); };
    const auto fromTerminal = [&] {
        const std::optional<TerminalSession> session = TerminalSession::of(window.pid);
        return session ? session->foregroundFolder() : QString();
    };
    QString path = m_order == Order::TitleFirst ? fromTitle() : fromTerminal();
    if (path.isNull())
        path = m_order == Order::TitleFirst ? fromTerminal() : fromTitle();
    if (!path.isNull())
        report.insert(CURRENT_PATH, path);
    return report;
}

} // namespace glimra
