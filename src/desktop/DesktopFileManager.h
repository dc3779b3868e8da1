#pragma once

#include "foundation/ProgramRunner.h"
#include "platform/SearchResultsQuery.h"
#include "platform/FileManager.h"

#include <QObject>

namespace glimra {

/// The Linux desktop's file manager and openers: URLs open with xdg-open (launched: opening
/// is done once it has started); files are revealed through the file manager's
/// org.freedesktop.FileManager1 ShowItems on the session bus, or, where no file manager
/// offers it or there is no session bus, by opening their folder; search results come
/// from the desktop search, as the outcome's items. Never blocks.
class DesktopFileManager : public QObject, public FileManager
{
    Q_OBJECT
public:
    /// xdg-open, the desktop search and its programs go through `runner`, which must
    /// outlive the file manager.
    explicit DesktopFileManager(QObject *parent = nullptr,
                                ProgramRunner &runner = ProgramRunner::standard());
    ~DesktopFileManager() override;

    void open(const Url &url, const Completion &done) override;
    void reveal(const QString &path, const Completion &done) override;
    void showSearchResults(const QString &query, const Completion &done) override;

private:
    void startXdgOpen(const QString &argument, const Completion &done);

    ProgramRunner &m_runner;
    SearchResultsQuery m_search;
    Completion m_searchDone;
};

} // namespace glimra
