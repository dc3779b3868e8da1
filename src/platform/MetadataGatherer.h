#pragma once

#include "foundation/ProgramRunner.h"
#include "platform/Predicate.h"

#include <QList>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <optional>

namespace glimra {

/// The work of one desktop search, run on a worker thread: enumerates the candidates of
/// each scope, evaluates the predicate on them and hands the hits over in batches.
class MetadataGatherer
{
public:
    using BatchHandler = std::function<void(const QList<QVariantMap> &)>;

    /// The file-name index is read through `runner`.
    MetadataGatherer(Predicate predicate, QStringList scopes, const std::atomic<bool> &cancelled,
                     BatchHandler onBatch, ProgramRunner &runner = ProgramRunner::standard());

    /// Looks at every candidate, then returns. Returns early when cancelled.
    void gather();

    /// Every attribute of the file at `path`.
    static QVariantMap attributesOf(const QString &path);
    /// The index database and program used for the local-computer scope; empty when the
    /// machine has no file-name index.
    static QString locateProgram(const ProgramRunner &runner = ProgramRunner::standard());
    static QString locateDatabase();

private:
    enum class Names { All, PrintableAscii };
    void walk(const QString &folder);
    void readIndex();
    bool readIndexFolded(const QString &program, const QString &database,
                         const QList<Predicate::RequiredText> &texts);
    /// Runs the index program with `arguments`; false when it could not start.
    bool readIndex(const QString &program, const QString &database, const QStringList &arguments,
                   Names names);
    bool readIndex(const QString &program, const QString &database, const QStringList &arguments,
                   const std::function<void(const QByteArray &)> &onPath,
                   const std::optional<QStringList> &environment = std::nullopt);
    enum class Existence { Known, Unknown };
    void consider(const QString &path, Existence existence);
    void flush();

    Predicate m_predicate;
    QStringList m_scopes;
    QStringList m_keys;
    const std::atomic<bool> &m_cancelled;
    BatchHandler m_onBatch;
    ProgramRunner &m_runner;
    QList<QVariantMap> m_batch;
};

} // namespace glimra
