#pragma once

#include <QString>

#include <optional>

namespace glimra {

/// A key with its modifiers, from the program's own notation ("Meta+Alt+G", as Qt writes
/// key sequences and the shortcut settings hold them), in the notations of the places a
/// shortcut is bound: sway's bindsym, GNOME's accelerators and the GlobalShortcuts portal.
class KeyCombination
{
public:
    /// Nullopt for a text that names no key, or a modifier unknown here.
    static std::optional<KeyCombination> parse(const QString &keys);

    QString toSway() const;   ///< "Mod4+Mod1+g"
    QString toGnome() const;  ///< "<Super><Alt>g"
    QString toPortal() const; ///< "LOGO+ALT+g"
    /// For people: "Super+Alt+G".
    QString toText() const;

private:
    bool m_super = false;
    bool m_alt = false;
    bool m_control = false;
    bool m_shift = false;
    QString m_key;  ///< an XKB key name: "g", "F5", "space", "Return"
    QString m_text; ///< the key as written: "G", "F5", "Space"
};

} // namespace glimra
