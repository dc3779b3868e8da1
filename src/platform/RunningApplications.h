#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

namespace glimra {

/// One application the desktop runs, as the focus tracker sees it.
struct RunningApplication
{
    QString name;    ///< null when unknown
    QString windowClass; ///< null when unknown
    bool active = false;
    bool hidden = false;
    bool terminated = false;
    bool finishedLaunching = true;
    qint64 pid = 0;
    /// Its front window: the active window when it is active, else the one it showed last;
    /// 0 when unknown.
    quint64 windowId = 0;
    QString windowTitle; ///< the title of that window; null when unknown
};

/// The applications the desktop runs, and news of which one is active. Main thread only.
class RunningApplications : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~RunningApplications() override;

    /// In the order the desktop lists them.
    virtual QList<RunningApplication> runningApplications() const = 0;

    /// The application owning the active window; nullopt without one.
    std::optional<RunningApplication> activeApplication() const;
    /// Where the active window is on the desktop, where the desktop tells it without
    /// searching: null here, and where no window is active or its place is not told. It
    /// places the panel where the pointer's position is unknown (a Wayland session).
    virtual QRect activeWindowGeometry() const { return {}; }

    /// False where only some of the desktop's windows are seen (the X11 view of a Wayland
    /// session): no active window then means one Glimra cannot see, not that none is active.
    bool seesEveryWindow() const { return m_seesEveryWindow; }
    void setSeesEveryWindow(bool sees) { m_seesEveryWindow = sees; }

signals:
    /// Another application became active. Either text may be null.
    void applicationActivated(const QString &windowClass, const QString &name);

private:
    bool m_seesEveryWindow = true;
};

/// What stands in where no desktop is there: no applications at all.
class NoRunningApplications : public RunningApplications
{
    Q_OBJECT
public:
    using RunningApplications::RunningApplications;
    QList<RunningApplication> runningApplications() const override { return {}; }
};

} // namespace glimra
