#include "app/SubsequenceMatch.h"

#include <algorithm>

namespace glimra {

namespace {

constexpr int Letter = 1;
constexpr int Adjacent = 5;
constexpr int WordStart = 3;

bool startsWord(QStringView text, qsizetype at)
{
    return at == 0 || !text.at(at - 1).isLetterOrNumber()
        || (text.at(at).isUpper() && text.at(at - 1).isLower());
}

bool same(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

} // namespace

std::optional<int> SubsequenceMatch::scoreFrom(QStringView typed, QStringView text, qsizetype start)
{
    int score = 0;
    qsizetype previous = -2;
    qsizetype at = start;
    for (const QChar c : typed) {
        while (at < text.size() && !same(text.at(at), c))
            ++at;
        if (at == text.size())
            return std::nullopt;
        score += Letter + (at == previous + 1 ? Adjacent : 0) + (startsWord(text, at) ? WordStart : 0);
        previous = at++;
    }
    // An early match is a better one, by less than one letter's worth per ten characters.
    return score * 16 - int(std::min<qsizetype>(start, 150) / 10);
}

std::optional<int> SubsequenceMatch::score(QStringView typed, QStringView text)
{
    if (typed.isEmpty())
        return 0;
    // Each place the first letter occurs starts a greedy match; the best one counts. Texts
    // in the panel are short; a long one is looked at up to a bound.
    text = text.left(4096);
    std::optional<int> best;
    for (qsizetype start = 0; start < text.size(); ++start) {
        if (!same(text.at(start), typed.front()))
            continue;
        const std::optional<int> found = scoreFrom(typed, text, start);
        if (!found)
            break; // a later start cannot hold what this one could not
        best = std::max(best.value_or(found.value()), found.value());
    }
    return best;
}

QList<int> SubsequenceMatch::ranked(const QString &typed, const QList<QStringList> &rows)
{
    QList<std::pair<int, int>> found; // score, row
    for (int row = 0; row < rows.size(); ++row) {
        std::optional<int> best;
        for (const QString &text : rows.at(row))
            if (const std::optional<int> s = score(typed, text))
                best = std::max(best.value_or(*s), *s);
        if (best)
            found.append({*best, row});
    }
    std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<int> order;
    for (const auto &[s, row] : found)
        order.append(row);
    return order;
}

} // namespace glimra
