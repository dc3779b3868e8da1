#pragma once

#include <QString>

namespace glimra {

class Url;

/// Opening, revealing and searching through the desktop. None of these blocks the caller
/// or reports failure. Main thread only.
class Workspace
{
public:
    virtual ~Workspace();

    /// Opens the URL in the application registered for it (a file URL in the file's default
    /// application).
    virtual void openURL(const Url &url) = 0;
    /// Shows `path` selected in a file manager window; `rootPath` may be empty.
    virtual void selectFile(const QString &path, const QString &rootPath) = 0;
    /// Shows the desktop search's results for `query`.
    virtual void showSearchResultsForQueryString(const QString &query) = 0;
    /// Opens a file in its default application: openURL() of its file URL.
    void open_file(const QString &path);
};

} // namespace glimra
