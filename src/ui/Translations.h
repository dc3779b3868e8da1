#pragma once

#include <QLocale>
#include <QString>

namespace glimra {

/// The translations of what the desktop application's windows, tray and notifications say,
/// for the user's language. The command line's output is never translated: only the
/// programs that open windows install them.
class Translations
{
public:
    /// Installs the program's translation for `locale` (by default the user's: LANGUAGE,
    /// LC_ALL, LC_MESSAGES, LANG) and Qt's own for its standard dialogs and buttons, each
    /// when it is installed; replaces those installed before. True when the program's own
    /// was found: English, the language of the sources, needs none.
    static bool install(const QLocale &locale = QLocale());

    /// Where the translations are: share/glimra/translations once installed, else the
    /// build's own folder.
    static QString folder();
};

} // namespace glimra
