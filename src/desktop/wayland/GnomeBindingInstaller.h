#pragma once

#include "BindingInstaller.h"

#include <optional>

namespace glimra {

/// Binds the shortcuts in GNOME as custom keybindings of gnome-settings-daemon's media
/// keys plugin: one relocatable settings object per shortcut, at a path of Glimra's own
/// (…/custom-keybindings/glimra-NAME/), appended to the user's list of custom keybindings,
/// which otherwise stays as it was. Through `gsettings`, each run bounded in time.
class GnomeBindingInstaller : public BindingInstaller
{
public:
    static const QString ListSchema;    ///< org.gnome.settings-daemon.plugins.media-keys
    static const QString BindingSchema; ///< …media-keys.custom-keybinding
    static const QString PathPrefix;    ///< /org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/glimra-

    QString mechanism() const override;
    BindingChange install(const QList<ShortcutBinding> &bindings) override;
    BindingChange remove() override;
    bool isInstalled() const override;

    /// The user's list of custom keybinding paths; nullopt when it cannot be read.
    static std::optional<QStringList> customKeybindings(QString *problem = nullptr);
    /// GVariant's text of an array of strings ("@as []", "['/a/', '/b/']") and back.
    static std::optional<QStringList> parseStringArray(const QString &text);
    static QString formatStringArray(const QStringList &strings);
    /// GVariant's text of a string: 'text', with ' and \ escaped.
    static QString quoteString(QString text);

private:
    /// The paths of `paths` that are Glimra's own.
    static QStringList ownPaths(const QStringList &paths);
    /// Resets the keys of the bindings at `paths` (taken out of the list already).
    static void resetBindings(const QStringList &paths);
    static bool gsettings(const QStringList &arguments, QString *output, QString *problem);
    static bool setList(const QStringList &paths, QString *problem);
};

} // namespace glimra
