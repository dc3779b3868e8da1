#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace glimra {

/// The rules for files that become plug-ins or application scripts, and for the settings
/// file: only regular files (after following links) that can be read and hold at most
/// MaximumBytes (or the size given). Anything else (a folder, a FIFO, a device, a dangling
/// link, a link loop, a huge file) is refused with the reason, so that loading never hangs
/// or runs out of memory.
class ScriptFile
{
public:
    static constexpr qint64 MaximumBytes = 1024 * 1024;

    /// Why `path` cannot be loaded; a null text when it can.
    static QString whyNotLoadable(const QString &path);

    /// The whole file; nullopt, with the reason in `why`, when it cannot be loaded. The
    /// file is opened without blocking and checked again once open, so a file swapped for
    /// a FIFO after the first check cannot hang the read.
    static std::optional<QByteArray> read(const QString &path, QString *why = nullptr);
    /// The same for a file of at most `maximumBytes`.
    static std::optional<QByteArray> read(const QString &path, qint64 maximumBytes, QString *why);
};

} // namespace glimra
