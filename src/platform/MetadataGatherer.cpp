#include "platform/MetadataGatherer.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "platform/IndexNamesBeyondAscii.h"
#include "platform/MetadataQuery.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcessEnvironment>

#include <algorithm>

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

bool isPrintableAscii(QByteArrayView name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

// plocate reads a word holding *, ? or [ as a glob that the whole name must match, and drops
// a backslash from a plain word: such a word becomes the glob "*word*" with those characters
// escaped, so that it is still found anywhere in a name, as written.
QString locatePattern(const QString &word)
{
    const auto special = [](QChar c) {
        return c == u'*' || c == u'?' || c == u'[' || c == u']' || c == u'\\';
    };
    if (std::none_of(word.begin(), word.end(), special))
        return word;
    QString pattern = u"*"_s;
    for (const QChar c : word) {
        if (special(c))
            pattern += u'\\';
        pattern += c;
    }
    return pattern + u'*';
}

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
                                   const std::atomic<bool> &cancelled, BatchHandler onBatch,
                                   ProgramRunner &runner)
    : m_predicate(std::move(predicate)),
      m_scopes(std::move(scopes)),
      m_keys(m_predicate.referencedKeys()),
      m_cancelled(cancelled),
      m_onBatch(std::move(onBatch)),
      m_runner(runner)
{
}

QVariantMap MetadataGatherer::attributesOf(const QString &path)
{
    return attributesFor(path, {DateKey, TypeKey});
}

QString MetadataGatherer::locateProgram(const ProgramRunner &runner)
{
    for (const QString &program : {u"plocate"_s, u"locate"_s}) {
        const QString found = runner.find(program);
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
    const QString program = locateProgram(m_runner);
    const QString database = locateDatabase();
    bool read = false;
    if (!program.isEmpty() && !database.isEmpty()) {
        const std::optional<Predicate::RequiredText> name = m_predicate.requiredText(DisplayNameKey);
        const QList<Predicate::RequiredText> texts = m_predicate.requiredTexts(DisplayNameKey);
        if (name && !name->text.isEmpty()) {
            QStringList arguments = {u"-b"_s};
            if (name->caseInsensitive)
                arguments << u"-i"_s;
            read = readIndex(program, database, arguments << u"--"_s << locatePattern(name->text),
                             Names::All);
        } else if (!texts.isEmpty()) {
            read = readIndexFolded(program, database, texts);
        } else {
            read = readIndex(program, database, {u"--"_s, u"/"_s}, Names::All);
        }
    }
    if (!read)
        walk(homeDir());
}

// A comparison without diacritics ([d]) cannot be left to the index as it stands: plocate's
// -i ignores letter case but not diacritics, so "cafe" would not find "café". A name of
// printable ASCII only folds to itself in lower case, so among those the index finds every
// hit itself (-i, each word folded) when every word folds to ASCII; when one does not, no
// such name is a hit. The other names are all read (IndexNamesBeyondAscii) and folded here.
bool MetadataGatherer::readIndexFolded(const QString &program, const QString &database,
                                       const QList<Predicate::RequiredText> &texts)
{
    QStringList words;
    bool caseInsensitive = false;
    bool ascii = true;
    for (const Predicate::RequiredText &text : texts) {
        const QString word = Predicate::folded(text.text, text.caseInsensitive, text.diacriticInsensitive);
        ascii = ascii && isPrintableAscii(word.toUtf8());
        caseInsensitive = caseInsensitive || text.caseInsensitive;
        if (!word.isEmpty())
            words.append(locatePattern(word));
    }
    if (words.isEmpty()) // every name holds the empty text
        return readIndex(program, database, {u"--"_s, u"/"_s}, Names::All);

    const IndexNamesBeyondAscii::Paths beyondAscii = IndexNamesBeyondAscii::of(database, [&] {
        QList<QByteArray> paths;
        // In the C locale the expression is matched byte by byte.
        QProcessEnvironment bytewise = QProcessEnvironment::systemEnvironment();
        bytewise.insert(u"LC_ALL"_s, u"C"_s);
        const bool scanned = readIndex(program, database, {u"-b"_s, u"-r"_s, u"--"_s, u"[^ -~]"_s},
                                       [&](const QByteArray &path) { paths.append(path); },
                                       bytewise.toStringList());
        return scanned && !m_cancelled ? std::optional(paths) : std::nullopt;
    });
    if (!beyondAscii)
        return false;
    if (ascii) {
        QStringList arguments = {u"-b"_s};
        if (caseInsensitive)
            arguments << u"-i"_s;
        if (!readIndex(program, database, arguments << u"--"_s << words, Names::PrintableAscii))
            return false;
    }
    for (const QByteArray &path : *beyondAscii) {
        if (m_cancelled)
            break;
        consider(QString::fromLocal8Bit(path), Existence::Unknown);
    }
    return true;
}

bool MetadataGatherer::readIndex(const QString &program, const QString &database,
                                 const QStringList &arguments, Names names)
{
    return readIndex(program, database, arguments, [&](const QByteArray &path) {
        if (names == Names::All || isPrintableAscii(path.sliced(path.lastIndexOf('/') + 1)))
            consider(QString::fromLocal8Bit(path), Existence::Unknown);
    });
}

bool MetadataGatherer::readIndex(const QString &program, const QString &database,
                                 const QStringList &arguments,
                                 const std::function<void(const QByteArray &)> &onPath,
                                 const std::optional<QStringList> &environment)
{
    // The index of a whole computer is large: paths are taken as they arrive.
    QByteArray pending;
    ProcessRequest request;
    request.program = program;
    request.arguments = QStringList{u"-0"_s, u"-d"_s, database} + arguments;
    request.environment = environment;
    request.timeout = std::chrono::minutes(2);
    request.cancelled = &m_cancelled;
    request.onStandardOutput = [&](const QByteArray &chunk) {
        pending += chunk;
        qsizetype start = 0;
        for (qsizetype end; (end = pending.indexOf('\0', start)) >= 0; start = end + 1) {
            if (!m_cancelled)
                onPath(pending.mid(start, end - start));
        }
        pending.remove(0, start);
    };
    return m_runner.run(request).started;
}

} // namespace glimra
