#include "ui/ShortcutSettings.h"

#include "ui/DesktopApplication.h"
#include "platform/UserDefaults.h"

#include <QKeySequence>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

struct Shortcut
{
    QString key;
    QString fallback;
    QString what;
};

const QList<Shortcut> &shortcuts()
{
    static const QList<Shortcut> all{
        {DesktopApplication::GuessSelectionShortcutKey, DesktopApplication::DefaultGuessSelectionShortcut,
         u"guess the selection"_s},
        {DesktopApplication::GuessClipboardShortcutKey, DesktopApplication::DefaultGuessClipboardShortcut,
         u"guess the clipboard"_s}};
    return all;
}

// The combination `text` names, in one spelling; null when it names none.
QString combination(const QString &text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown || sequence[0].key() == 0)
        return {};
    return sequence.toString(QKeySequence::PortableText);
}

} // namespace

QString ShortcutSettings::problem(const QString &key, const QJsonValue &value, const QJsonObject &all)
{
    const auto own = std::find_if(shortcuts().cbegin(), shortcuts().cend(),
                                  [&key](const Shortcut &shortcut) { return shortcut.key == key; });
    if (own == shortcuts().cend() || !value.isString() || value.toString().isEmpty())
        return {};
    const QString text = value.toString();
    const QString wanted = combination(text);
    if (wanted.isNull()) {
        return text.contains(u',')
            ? u"\"%1\" is more than one key combination; a shortcut is one, such as \"Ctrl+Alt+Y\""_s.arg(text)
            : u"\"%1\" names no key of a keyboard: \"%2\" is not one"_s.arg(text, text.section(u'+', -1));
    }
    for (const Shortcut &other : shortcuts()) {
        if (other.key == key)
            continue;
        const QJsonValue stored = all.value(other.key);
        const QString otherText = stored.isString() ? stored.toString() : other.fallback;
        if (!otherText.isEmpty() && combination(otherText) == wanted)
            return u"\"%1\" is already the shortcut to %2 (\"%3\")"_s.arg(text, other.what, other.key);
    }
    return {};
}

void ShortcutSettings::install()
{
    UserDefaults::setValidator(&ShortcutSettings::problem);
}

} // namespace glimra
