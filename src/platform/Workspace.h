#pragma once

#include "foundation/Completion.h"

#include <QString>

namespace glimra {

class Url;

/// Opening, revealing and searching through the desktop. None of these blocks the caller;
/// each calls `done` once it has done what it can (at once, or later), with a failure when
/// it could not be done. Main thread only.
class Workspace
{
public:
    virtual ~Workspace();

    /// Opens the URL in the application registered for it (a file URL in the file's default
    /// application).
    virtual void openURL(const Url &url, const Completion &done) = 0;
    /// Shows `path` selected in a file manager window; `rootPath` may be empty.
    virtual void selectFile(const QString &path, const QString &rootPath,
                            const Completion &done) = 0;
    /// Shows the desktop search's results for `query`; the outcome's items are the paths
    /// found.
    virtual void showSearchResultsForQueryString(const QString &query, const Completion &done) = 0;
    /// Opens a file in its default application: openURL() of its file URL.
    void open_file(const QString &path, const Completion &done = {});
};

} // namespace glimra
