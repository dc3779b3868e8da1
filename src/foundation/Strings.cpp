#include "foundation/Strings.h"

#include <QHash>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace glimra {

QString nonNull(const QString &text)
{
    return text.isNull() ? u""_s : text;
}

QString trim(const QString &text)
{
    if (text.isNull())
        return {};
    return nonNull(text.trimmed());
}

QStringList split(const QString &text, QStringView separators)
{
    QStringList pieces;
    forEachPiece(text, separators, [&pieces](QStringView piece) {
        pieces.append(piece.toString());
        return true;
    });
    return pieces;
}

QRegularExpression cachedRegularExpression(const QString &pattern,
                                           QRegularExpression::PatternOptions options)
{
    // Matchers compile the same few expressions on every guess; a small cache keeps that off
    // the path of each guess. It is cleared whole when full: user expressions are few.
    thread_local QHash<QString, QRegularExpression> table;
    const QString cacheKey = options == QRegularExpression::NoPatternOption
        ? pattern
        : QString::number(int(options)) + u':' + pattern;
    auto found = table.constFind(cacheKey);
    if (found != table.constEnd())
        return *found;
    if (table.size() > 512)
        table.clear();
    QRegularExpression expression(pattern, options);
    table.insert(cacheKey, expression);
    return expression;
}

bool matches(QStringView text, const QString &pattern)
{
    if (text.isNull())
        return false;
    const QRegularExpression expression = cachedRegularExpression(pattern);
    return expression.isValid() && expression.match(text).hasMatch();
}

std::optional<QStringList> matchMultiple(const QString &text, const QString &pattern)
{
    if (text.isNull())
        return std::nullopt;
    const QRegularExpression expression = cachedRegularExpression(pattern);
    if (!expression.isValid())
        return std::nullopt;
    const QRegularExpressionMatch match = expression.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QStringList pieces;
    for (int i = 0; i <= match.lastCapturedIndex(); ++i)
        pieces.append(nonNull(match.captured(i)));
    for (int i = match.lastCapturedIndex() + 1; i <= expression.captureCount(); ++i)
        pieces.append(u""_s);
    return pieces;
}

QString stringURLEncoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

bool str_isNullOrEmpty(const QString &text)
{
    return text.isEmpty();
}

bool str_isNotNullOrEmpty(const QString &text)
{
    return !text.isEmpty();
}

} // namespace glimra
