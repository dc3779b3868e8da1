#pragma once

#include "matching/FileObject.h"

#include <QList>
#include <QStringList>

class QMimeData;

namespace glimra {

/// What entries of the file list become when they leave the panel. A drag carries the
/// entries as a file list (text/uri-list of their paths) when the first entry is a file,
/// else the first entry's URL; its plain-text flavour, and "Copy", carry the text a
/// service would get: one entry's path or URL, or one line each.
class ResultListController
{
public:
    /// The data of a drag of `entries` ; the caller owns it.
    static QMimeData *dragData(const QList<FileObject> &entries);
    /// The text of `entries` for a service : one entry gives its
    /// path, or URL when it has no path; several give one line each (entries with
    /// neither are skipped), no line break after the last.
    static QString text(const QList<FileObject> &entries);
};

} // namespace glimra
