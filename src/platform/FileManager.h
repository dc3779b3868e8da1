#pragma once

#include "foundation/Completion.h"

#include <QString>

namespace glimra {

class Url;

/// The desktop's file manager and what opens files and addresses: opening, revealing a
/// file in a file manager window, showing the desktop search's results. None of these blocks
/// the caller; each calls `done` once it has done what it can (at once, or later), with a
/// failure when it could not be done. Main thread only.
class FileManager
{
public:
    virtual ~FileManager();

    /// Opens the URL in the application registered for it (a file URL in the file's default
    /// application).
    virtual void open(const Url &url, const Completion &done) = 0;
    /// Shows `path` selected in a file manager window.
    virtual void reveal(const QString &path, const Completion &done) = 0;
    /// Shows the desktop search's results for `query`; the outcome's items are the paths
    /// found.
    virtual void showSearchResults(const QString &query, const Completion &done) = 0;
    /// Opens a file in its default application: open() of its file URL.
    void openFile(const QString &path, const Completion &done = {});
};

} // namespace glimra
