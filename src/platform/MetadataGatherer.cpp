#include "platform/MetadataGatherer.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/ProcessRunner.h"
#include "platform/MetadataQuery.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString PathKey = u"kMDItemPath"_s;
const QString DisplayNameKey = u"kMDItemDisplayName"_s;
const QString NameKey = u"kMDItemFSName"_s;
const QString DateKey = u"kMDItemFSContentChangeDate"_s;
const QString SizeKey = u"kMDItemFSSize"_s;
const QString TypeKey = u"kMDItemContentType"_s;

constexpr qsizetype BatchSize = 256;

QString contentTypeOf(const QString &path)
{
    static const QMimeDatabase database; // documented as safe to use from several threads
    return database.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
}

// The attributes the predicate needs, computed lazily: most candidates are refused on
// their name alone, without a stat.
QVariantMap attributesFor(const QString &path, const QStringList &keys)
{
    QVariantMap attributes;
    const QString name = basename(path);
    attributes.insert(PathKey, path);
    attributes.insert(DisplayNameKey, name);
    attributes.insert(NameKey, name);
    if (keys.contains(DateKey) || keys.contains(SizeKey)) {
        const QFileInfo info(path);
        attributes.insert(DateKey, info.lastModified());
        attributes.insert(SizeKey, info.size());
    }
    if (keys.contains(TypeKey))
        attributes.insert(TypeKey, contentTypeOf(path));
    return attributes;
}

} // namespace

MetadataGatherer::MetadataGatherer(Predicate predicate, QStringList scopes,
                                   const std::atomic<bool> &cancelled, BatchHandler onBatch)
    : m_predicate(std::move(predicate)),
      m_scopes(std::move(scopes)),
      m_keys(m_predicate.referencedKeys()),
      m_cancelled(cancelled),
      m_onBatch(std::move(onBatch))
{
}

QVariantMap MetadataGatherer::attributesOf(const QString &path)
{
    return attributesFor(path, {DateKey, TypeKey});
}

QString MetadataGatherer::locateProgram()
{
    for (const QString &program : {u"plocate"_s, u"locate"_s}) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString MetadataGatherer::locateDatabase()
{
    const QString configured = qEnvironmentVariable("GLIMRA_LOCATE_DB");
    if (!configured.isEmpty())
        return configured;
    for (const QString &candidate : {u"/var/lib/plocate/plocate.db"_s,
                                     u"/var/lib/mlocate/mlocate.db"_s,
                                     u"/var/cache/locate/locatedb"_s}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

void MetadataGatherer::gather()
{
    for (const QString &scope : std::as_const(m_scopes)) {
        if (m_cancelled)
            return;
        if (scope == MetadataQuery::LocalComputerScope)
            readIndex();
        else
            walk(scope);
    }
    flush();
}

void MetadataGatherer::consider(const QString &path, Existence existence)
{
    if (!m_predicate.evaluateWithObject(attributesFor(path, m_keys)))
        return;
    // The index may be older than the disk: a hit counts only if it still exists. Checked
    // after the predicate, which most candidates fail on their name alone.
    if (existence == Existence::Unknown && !path_exists(path))
        return;
    m_batch.append(attributesOf(path));
    if (m_batch.size() >= BatchSize)
        flush();
}

void MetadataGatherer::flush()
{
    if (m_batch.isEmpty())
        return;
    m_onBatch(m_batch);
    m_batch.clear();
}

void MetadataGatherer::walk(const QString &folder)
{
    if (!dir_exists(folder))
        return;
    // Without FollowSymlinks the iterator never descends into a linked folder, so a link
    // loop cannot trap it; unreadable folders are skipped.
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext() && !m_cancelled)
        consider(entries.next(), Existence::Known);
}

void MetadataGatherer::readIndex()
{
    const QString program = locateProgram();
    const QString database = locateDatabase();
    if (program.isEmpty() || database.isEmpty()) {
        walk(homeDir());
        return;
    }
    QStringList arguments = {u"-0"_s, u"-d"_s, database};
    const std::optional<Predicate::RequiredText> name = m_predicate.requiredText(DisplayNameKey);
    if (name && !name->text.isEmpty()) {
        arguments << u"-b"_s;
        if (name->caseInsensitive)
            arguments << u"-i"_s;
        arguments << u"--"_s << name->text;
    } else {
        arguments << u"--"_s << u"/"_s;
    }
    // The index of a whole computer is large: paths are taken as they arrive.
    QByteArray pending;
    ProcessRequest request;
    request.program = program;
    request.arguments = arguments;
    request.timeout = std::chrono::minutes(2);
    request.cancelled = &m_cancelled;
    request.onStandardOutput = [&](const QByteArray &chunk) {
        pending += chunk;
        qsizetype start = 0;
        for (qsizetype end; (end = pending.indexOf('\0', start)) >= 0; start = end + 1) {
            if (!m_cancelled)
                consider(QString::fromLocal8Bit(pending.mid(start, end - start)), Existence::Unknown);
        }
        pending.remove(0, start);
    };
    if (!ProcessRunner::run(request).started)
        walk(homeDir());
}

} // namespace glimra
