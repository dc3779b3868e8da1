#pragma once

#include "platform/SearchResultsQuery.h"
#include "platform/Workspace.h"

#include <QObject>

namespace glimra {

/// The Linux desktop's workspace: URLs open with xdg-open (detached); files are revealed
/// through the file manager's org.freedesktop.FileManager1 ShowItems on the session bus,
/// or, where no file manager offers it, by opening their folder; search results come from
/// the desktop search and are announced with searchResultsReady. Never blocks, never
/// reports failure.
class DesktopWorkspace : public QObject, public Workspace
{
    Q_OBJECT
public:
    explicit DesktopWorkspace(QObject *parent = nullptr);

    void openURL(const Url &url) override;
    void selectFile(const QString &path, const QString &rootPath) override;
    void showSearchResultsForQueryString(const QString &query) override;

    /// A search or a call to the file manager is still under way.
    bool hasPendingWork() const { return m_search.isSearching() || m_pendingCalls > 0; }

signals:
    void searchResultsReady(const QString &query, const QStringList &paths);

private:
    SearchResultsQuery m_search;
    int m_pendingCalls = 0;
};

} // namespace glimra
