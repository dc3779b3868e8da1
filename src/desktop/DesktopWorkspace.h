#pragma once

#include "platform/SearchResultsQuery.h"
#include "platform/Workspace.h"

#include <QObject>

namespace glimra {

/// The Linux desktop's workspace: URLs open with xdg-open (detached: opening is done once
/// it has started); files are revealed through the file manager's
/// org.freedesktop.FileManager1 ShowItems on the session bus, or, where no file manager
/// offers it or there is no session bus, by opening their folder; search results come
/// from the desktop search, as the outcome's items. Never blocks.
class DesktopWorkspace : public QObject, public Workspace
{
    Q_OBJECT
public:
    explicit DesktopWorkspace(QObject *parent = nullptr);
    ~DesktopWorkspace() override;

    void openURL(const Url &url, const Completion &done) override;
    void selectFile(const QString &path, const QString &rootPath, const Completion &done) override;
    void showSearchResultsForQueryString(const QString &query, const Completion &done) override;

private:
    SearchResultsQuery m_search;
    Completion m_searchDone;
};

} // namespace glimra
