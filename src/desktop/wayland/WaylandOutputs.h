#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <map>

struct wl_output;

namespace glimra {

class WaylandSession;
struct WaylandGlobal;

/// The compositor's outputs (its screens) and where each lies in its logical coordinates, as
/// wl_output tells them: every output the compositor offers is bound, and followed as
/// outputs come and go. A window list that learns only which output a window is on (wlroots'
/// foreign toplevels) gives that output's place for the window's, which is enough to tell on
/// which screen the window is. Made before such a list binds its protocol, and owned by it;
/// main thread only.
class WaylandOutputs : public QObject
{
    Q_OBJECT
public:
    explicit WaylandOutputs(WaylandSession &session);
    ~WaylandOutputs() override;

    /// Where `output` lies in the compositor's logical coordinates; null when it is not one
    /// of ours or has not told its place and size yet.
    QRect rectOf(wl_output *output) const;

private:
    struct Output
    {
        quint32 name = 0; ///< the global's name, for its removal
        QPoint position;
        QSize mode;        ///< the current mode, in pixels
        int scale = 1;
        bool turned = false; ///< rotated by a quarter turn: width and height swap
    };

    void add(const WaylandGlobal &global);
    void remove(quint32 name);

    static void onGeometry(void *data, wl_output *output, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                           const char *, const char *, int32_t transform);
    static void onMode(void *data, wl_output *output, uint32_t flags, int32_t width, int32_t height, int32_t);
    static void onDone(void *, wl_output *) {}
    static void onScale(void *data, wl_output *output, int32_t factor);

    WaylandSession &m_session;
    std::map<wl_output *, Output> m_outputs;
};

} // namespace glimra
