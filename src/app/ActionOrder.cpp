#include "app/ActionOrder.h"

#include "app/SelectionKind.h"

#include "foundation/Paths.h"
#include "platform/LockedFile.h"
#include "platform/UserDefaults.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// How long a pick waits for another process's write; a pick that cannot wait is not counted.
constexpr int LockWaitMs = 500;

QStringList likelyLabels(const QString &kind)
{
    if (kind == u"trace"_s)
        return {u"open at line"_s};
    if (kind == u"calculation"_s)
        return {u"paste"_s, u"copy"_s};
    return {};
}

bool writable(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && !info.isSymLink());
}

} // namespace

QString ActionOrder::defaultFilePath()
{
    return stateHomeDir() + u"/glimra/action-order.json"_s;
}

QString ActionOrder::filePath() const
{
    return m_filePath.isEmpty() ? defaultFilePath() : m_filePath;
}

QString ActionOrder::kindOf(const Context &matched)
{
    return selectionKindKey(selectionKindOf(matched));
}

QString ActionOrder::keyOf(const QString &label)
{
    return QString::fromLatin1(QCryptographicHash::hash(label.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}

QJsonObject ActionOrder::read() const
{
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return {};
    // Not a regular file (one that would block a read), or no counts: none.
    const std::optional<QByteArray> contents = UserDefaults::readFile(path);
    return contents ? UserDefaults::dictionaryFromData(*contents, path).value_or(QJsonObject()) : QJsonObject();
}

ActionList ActionOrder::ordered(const QString &kind, const ActionList &offered, bool learned) const
{
    const QJsonObject counts = learned && !kind.isEmpty() ? read().value(kind).toObject() : QJsonObject();
    const QStringList likely = likelyLabels(kind);
    // Each offer's weight and likely rank, found once; the sort keeps the chain's order on ties.
    struct Ranked
    {
        double weight;
        qsizetype likelyRank;
        ActionPtr action;
    };
    QList<Ranked> ranked;
    for (const ActionPtr &action : offered) {
        const qsizetype at = likely.indexOf(action->label());
        ranked.append({counts.value(keyOf(action->label())).toDouble(), at < 0 ? likely.size() : at, action});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
        return a.weight != b.weight ? a.weight > b.weight : a.likelyRank < b.likelyRank;
    });
    ActionList order;
    for (const Ranked &each : ranked)
        order.append(each.action);
    return order;
}

bool ActionOrder::record(const QString &kind, const QString &label, QString *error) const
{
    const QString path = filePath();
    LockedFile file(path);
    if (!file.lock(LockWaitMs, error))
        return false;
    if (!writable(path)) {
        if (error)
            *error = u"%1 is not a regular file; not changed"_s.arg(path);
        return false;
    }

    // A file that does not read as counts is ours to start again.
    QJsonObject all = read();
    const QJsonObject counts = all.value(kind).toObject();
    QJsonObject kept;
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        const double weight = it.value().toDouble() * Decay;
        if (weight >= Forgotten)
            kept.insert(it.key(), weight);
    }
    const QString key = keyOf(label);
    kept.insert(key, kept.value(key).toDouble() + 1.0);
    all.insert(kind, kept);
    return file.write(QJsonDocument(all).toJson(QJsonDocument::Indented), error);
}

bool ActionOrder::forget(QString *error) const
{
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return true;
    LockedFile file(path);
    if (file.lock(LockWaitMs, error) && writable(path) && QFile::remove(path))
        return true;
    if (error)
        *error = u"%1 cannot be removed"_s.arg(path);
    return false;
}

} // namespace glimra
