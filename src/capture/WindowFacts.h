#pragma once

#include "platform/RunningApplications.h"

#include <QJsonArray>
#include <QString>

namespace glimra {

// The window facts in the argument of an application script's handlers; texts, as every
// value there is.
inline const QString WINDOW_ID = QStringLiteral("WINDOW_ID");       ///< "0x" and hexadecimal
inline const QString WINDOW_CLASS = QStringLiteral("WINDOW_CLASS"); ///< the application's class
inline const QString WINDOW_PID = QStringLiteral("WINDOW_PID");     ///< the process that made it
inline const QString WINDOW_TITLE = QStringLiteral("WINDOW_TITLE");

/// What the host knows of an application's front window. Its application scripts receive
/// it in their argument, so that none has to ask the desktop again.
struct WindowFacts
{
    quint64 id = 0;      ///< 0: no window is known, nor anything else
    QString windowClass; ///< null when unknown
    qint64 pid = 0;      ///< 0 when unknown
    QString title;       ///< null when unknown

    /// The front window of the application `identifier`: the active one's among
    /// `applications` with this identifier, else the first listed one's.
    static WindowFacts ofApplication(const QList<RunningApplication> &applications,
                                     const QString &identifier);
    /// The same among the applications running now (none when `applications` is null).
    static WindowFacts ofApplication(const RunningApplications *applications,
                                     const QString &identifier);
    /// The facts that the first of an application script's arguments carries.
    static WindowFacts fromArguments(const QJsonArray &args);
    /// The arguments of an application script's handlers: one object holding CTX_APPID
    /// (unless `identifier` is null) and the facts (when a window is known).
    QJsonArray arguments(const QString &identifier) const;
};

} // namespace glimra
