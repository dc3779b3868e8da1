#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace glimra {

/// The facts an X11 window's properties hold, read from their raw bytes. The window's
/// program writes them as it likes: nothing in them is trusted to be terminated, of a
/// sensible length, or in the encoding it should be.
class WindowProperties
{
public:
    /// The most read of one property; a longer one is cut there.
    static constexpr qsizetype MaximumBytes = 64 * 1024;

    struct WindowClass
    {
        QString instance; ///< the first text; null when absent
        QString name;     ///< the second, the application's class; null when absent
    };

    /// WM_CLASS: two texts, each ended by a NUL (ICCCM). A text whose NUL is missing ends
    /// where the data does; anything after the second is ignored.
    static WindowClass windowClass(QByteArrayView wmClass);
};

} // namespace glimra
