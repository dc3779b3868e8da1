#pragma once

#include "foundation/ProgramRunner.h"
#include "platform/Predicate.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace glimra {

/// The desktop search: finds files whose metadata satisfies a predicate, within folders or
/// on the whole computer. The search runs on a worker thread; its two notifications
/// (didUpdate: a batch of hits arrived; didFinishGathering: every item has been looked at)
/// are delivered on the thread that started it, which must run an event loop.
///
/// Attributes: "kMDItemPath", "kMDItemDisplayName" (the file's name), "kMDItemFSName",
/// "kMDItemFSContentChangeDate", "kMDItemFSSize", "kMDItemContentType" (the MIME type). A
/// predicate may say "path" and "name" for the first two.
///
/// Folder scopes are walked recursively (hidden entries skipped, symbolic links to folders
/// not followed, unreadable folders skipped). The local-computer scope reads the system's
/// file-name index (plocate, or locate), narrowed by the names the predicate requires (also
/// when it ignores diacritics: docs/ARCHITECTURE.md says how), and evaluates the predicate
/// on each candidate that still exists; without an index it walks the home folder.
/// $GLIMRA_LOCATE_DB names another index database.
class MetadataQuery : public QObject
{
    Q_OBJECT
public:
    static const QString LocalComputerScope;

    /// The file-name index is read through `runner`.
    explicit MetadataQuery(QObject *parent = nullptr, ProgramRunner &runner = ProgramRunner::standard());
    ~MetadataQuery() override;

    void setPredicate(const Predicate &predicate);
    std::optional<Predicate> predicate() const { return m_predicate; }
    void setSearchScopes(const QStringList &scopes) { m_scopes = scopes; }

    /// Starts gathering; a search still gathering is stopped first and its hits are never
    /// delivered. Returns false when there is no predicate.
    bool startQuery();
    /// Stops gathering. The hits gathered so far stay readable.
    void stopQuery();
    bool isGathering() const { return m_gathering; }

    qsizetype resultCount() const { return m_results.size(); }
    /// The attributes of hit `index`.
    QVariantMap resultAtIndex(qsizetype index) const { return m_results.value(index); }

signals:
    void didUpdate();
    void didFinishGathering();

private:
    void receiveBatch(quint64 generation, const QList<QVariantMap> &batch);
    void finishGathering(quint64 generation);

    std::optional<Predicate> m_predicate;
    QStringList m_scopes;
    QList<QVariantMap> m_results;
    bool m_gathering = false;
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::thread m_worker;
    ProgramRunner &m_runner;
};

} // namespace glimra
