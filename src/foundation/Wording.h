#pragma once

#include <QString>
#include <QStringList>

namespace glimra {

/// Which language a sentence for people is given in: the command line's output and the log
/// stay in English (scripts and bug reports read them); windows, the tray and
/// notifications speak the user's language where a translation is installed.
enum class Language { English, Users };

/// `source`, an English sentence marked with QT_TRANSLATE_NOOP(context, …), in `language`,
/// with its %1, %2… filled by `arguments` (which are never translated).
QString wording(Language language, const char *context, const char *source, const QStringList &arguments = {});

} // namespace glimra
