#pragma once

#include "foundation/ApplicationScript.h"

namespace glimra {

/// The built-in "selected_files" handler, what the shipped generic script does: a report
/// on the application's front window from the window facts of its argument (APP_NAME its
/// class, WIN_NAME its title) with the front document (CURRENT_PATH): the path the title
/// carries, else the working folder of the program in the foreground of a terminal; in
/// that order, or the other way round for a terminal. Without a window in the argument
/// there is no report. Reads the file system and /proc, nothing else. Main thread only.
class WindowReportScript : public ApplicationScript
{
public:
    enum class Order { TitleFirst, TerminalFirst };

    explicit WindowReportScript(Order order = Order::TitleFirst);

    QVariant call(const QString &handler, const QJsonArray &args,
                  QString *failure = nullptr) const override;

    /// The first path that `title` carries and that exists: "name (~/folder) - Editor",
    /// "name - /folder - Editor", "user@host: ~/folder", or the title itself; null for none.
    static QString pathInTitle(const QString &title);

private:
    Order m_order;
};

} // namespace glimra
