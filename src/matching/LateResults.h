#pragma once

#include "matching/FileObject.h"

#include <QList>
#include <QObject>

namespace glimra {

/// Results that arrive after the guess that asked for them has been shown: the desktop
/// search's hits. Each delivery carries the identity of the guess that started it, so that
/// hits of a guess that has been replaced are never mixed into a later one. Main thread.
class LateResults : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    /// A search that `guess` started is still gathering.
    virtual bool isSearching(quint64 guess) const = 0;

signals:
    /// Hits of `guess`, newest first; never empty.
    void filesFound(quint64 guess, const QList<glimra::FileObject> &files);
    /// The search of `guess` has ended (after its hits, if any).
    void finished(quint64 guess);
};

} // namespace glimra
