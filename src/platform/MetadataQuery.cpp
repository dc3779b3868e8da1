#include "platform/MetadataQuery.h"

#include "platform/MetadataGatherer.h"

using namespace Qt::StringLiterals;

namespace glimra {

const QString MetadataQuery::LocalComputerScope = u"kMDQueryScopeComputer"_s;

MetadataQuery::MetadataQuery(QObject *parent, ProgramRunner &runner) : QObject(parent), m_runner(runner) {}

void MetadataQuery::setPredicate(const Predicate &predicate)
{
    // The plain names a user writes, for the attributes that carry their older names.
    static const QHash<QString, QString> plainNames = {{u"name"_s, u"kMDItemDisplayName"_s},
                                                       {u"path"_s, u"kMDItemPath"_s}};
    m_predicate = predicate.withKeysRenamed(plainNames);
}

MetadataQuery::~MetadataQuery()
{
    stopQuery();
}

bool MetadataQuery::startQuery()
{
    stopQuery();
    if (!m_predicate)
        return false;
    m_results.clear();
    m_gathering = true;
    const quint64 generation = ++m_generation;
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    auto cancelled = m_cancelled;
    auto predicate = *m_predicate;
    auto scopes = m_scopes;
    // The worker is joined before this object goes away (stopQuery in the destructor), so
    // the queued calls below never reach a destroyed object.
    m_worker = std::thread([this, generation, cancelled, predicate, scopes] {
        MetadataGatherer gatherer(predicate, scopes, *cancelled,
                                  [this, generation](const QList<QVariantMap> &batch) {
                                      QMetaObject::invokeMethod(
                                          this, [this, generation, batch] {
                                              receiveBatch(generation, batch);
                                          },
                                          Qt::QueuedConnection);
                                  },
                                  m_runner);
        gatherer.gather();
        if (!*cancelled)
            QMetaObject::invokeMethod(this, [this, generation] { finishGathering(generation); },
                                      Qt::QueuedConnection);
    });
    return true;
}

void MetadataQuery::stopQuery()
{
    if (m_cancelled)
        *m_cancelled = true;
    if (m_worker.joinable())
        m_worker.join();
    // Batches of the stopped gathering that are still queued are dropped on arrival.
    ++m_generation;
    m_gathering = false;
}

void MetadataQuery::receiveBatch(quint64 generation, const QList<QVariantMap> &batch)
{
    if (generation != m_generation)
        return;
    m_results.append(batch);
    emit didUpdate();
}

void MetadataQuery::finishGathering(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_gathering = false;
    emit didFinishGathering();
}

} // namespace glimra
