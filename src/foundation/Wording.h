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

/// A text for people in both languages at once: English for the command line and the log,
/// the user's language for windows and notifications. Made from a QString, it is the same
/// in both (a path, the keys, what another program said).
struct Phrase
{
    Phrase(const QString &same = {}) : english(same), users(same) {}
    Phrase(const QString &inEnglish, const QString &inUsers) : english(inEnglish), users(inUsers) {}

    /// `source`, marked with QT_TRANSLATE_NOOP(context, …), its %1, %2… filled by
    /// `arguments`, each in the language of the sentence around it.
    static Phrase of(const char *context, const char *source, const QList<Phrase> &arguments = {});
    /// `items` one after the other with `separator` (marked as for of()) between them.
    static Phrase joined(const QList<Phrase> &items, const char *context, const char *separator);

    QString english;
    QString users;
};

} // namespace glimra
