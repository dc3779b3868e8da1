#pragma once

#include "matching/ActionObject.h"
#include "matching/Context.h"
#include "matching/FileObject.h"

#include <QList>
#include <QString>

namespace glimra {

/// The last guesses whose panel the user saw, newest first, so that one can be shown
/// again. Kept in memory only: selections never reach the disk this way.
class RecentGuesses
{
public:
    /// How many are kept; an older one drops out.
    static constexpr qsizetype Kept = 10;

    struct Entry
    {
        QString title; ///< how the panel described what was found
        Context selectionContext;
        Context matchedContext;
        ActionList actions;
        QList<FileObject> files;
        qsizetype cutAt = 0;
    };

    void add(Entry entry);
    void clear() { m_entries.clear(); }
    /// Newest first.
    const QList<Entry> &entries() const { return m_entries; }

private:
    QList<Entry> m_entries;
};

} // namespace glimra
