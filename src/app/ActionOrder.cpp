#include "app/ActionOrder.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "platform/UserDefaults.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>

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
    if (matched.isEmpty())
        return {};
    if (matched.contains(ACT_PATH_LINE) || matched.contains(ACT_PATH_LINES))
        return u"trace"_s;
    if (matched.contains(ACT_URLS))
        return u"url"_s;
    if (matched.value(ACT_PATHS).contains(u'\n'))
        return u"files"_s;
    if (matched.contains(ACT_PATHS) || matched.contains(ACT_PATH))
        return u"file"_s;
    if (matched.contains(ACT_COMMAND))
        return u"command"_s;
    if (matched.value(ACT_FOUND) == u"DCalcMatch"_s)
        return u"calculation"_s;
    return u"text"_s;
}

QString ActionOrder::keyOf(const QString &label)
{
    return QString::fromLatin1(QCryptographicHash::hash(label.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}

std::optional<QJsonObject> ActionOrder::read(QString *why) const
{
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return QJsonObject();
    const std::optional<QByteArray> contents = UserDefaults::readFile(path, why);
    if (!contents)
        return std::nullopt;
    return UserDefaults::dictionaryFromData(*contents, path, why);
}

QHash<QString, double> ActionOrder::weights(const QString &kind) const
{
    QHash<QString, double> weights;
    const QJsonObject counts = read().value_or(QJsonObject()).value(kind).toObject();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        weights.insert(it.key(), it.value().toDouble());
    return weights;
}

ActionList ActionOrder::ordered(const QString &kind, const ActionList &offered, bool learned) const
{
    const QHash<QString, double> weights = learned && !kind.isEmpty() ? this->weights(kind)
                                                                       : QHash<QString, double>();
    const QStringList likely = likelyLabels(kind);
    auto likelyRank = [&likely](const ActionPtr &action) {
        const qsizetype at = likely.indexOf(action->label());
        return at < 0 ? likely.size() : at;
    };
    ActionList order = offered;
    std::stable_sort(order.begin(), order.end(), [&](const ActionPtr &a, const ActionPtr &b) {
        const double weightA = weights.value(keyOf(a->label()));
        const double weightB = weights.value(keyOf(b->label()));
        if (weightA != weightB)
            return weightA > weightB;
        return likelyRank(a) < likelyRank(b);
    });
    return order;
}

bool ActionOrder::record(const QString &kind, const QString &label, QString *error) const
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    const QString path = filePath();
    if (!mk_dirs(QFileInfo(path).absolutePath()))
        return fail(u"cannot create the folder of %1"_s.arg(path));
    QLockFile lock(path + u".lock"_s);
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(LockWaitMs))
        return fail(u"%1 is locked by another process"_s.arg(path));
    if (!writable(path))
        return fail(u"%1 is not a regular file; not changed"_s.arg(path));

    // A file that does not read as counts is ours to start again.
    QJsonObject all = read().value_or(QJsonObject());
    QJsonObject counts = all.value(kind).toObject();
    QJsonObject kept;
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        const double weight = it.value().toDouble() * Decay;
        if (weight >= Forgotten)
            kept.insert(it.key(), weight);
    }
    const QString key = keyOf(label);
    kept.insert(key, kept.value(key).toDouble() + 1.0);
    all.insert(kind, kept);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(u"%1 cannot be written: %2"_s.arg(path, file.errorString()));
    file.write(QJsonDocument(all).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return fail(u"%1 cannot be written: %2"_s.arg(path, file.errorString()));
    return true;
}

bool ActionOrder::forget(QString *error) const
{
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return true;
    QLockFile lock(path + u".lock"_s);
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(LockWaitMs) || !writable(path) || !QFile::remove(path)) {
        if (error)
            *error = u"%1 cannot be removed"_s.arg(path);
        return false;
    }
    return true;
}

} // namespace glimra
