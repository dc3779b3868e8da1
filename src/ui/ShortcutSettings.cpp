#include "ui/ShortcutSettings.h"

#include "ui/AutostartEntry.h"
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

// The first word before the key of `text` that is no modifier ("Super" in "Super+Alt+G");
// null when every one is. ("Ctrl++" is Ctrl and the plus key.)
QString unknownModifier(const QString &text)
{
    static const QStringList modifiers = {u"ctrl"_s, u"shift"_s, u"alt"_s, u"meta"_s, u"num"_s};
    QStringList words = text.split(u'+');
    if (text.endsWith(u"++"_s))
        words.removeLast();
    words.removeLast(); // the key
    for (const QString &word : std::as_const(words)) {
        if (!modifiers.contains(word.trimmed().toLower()))
            return word;
    }
    return {};
}

// Why `text` names no key combination.
QString whyNoCombination(const QString &text)
{
    if (text.contains(u','))
        return u"\"%1\" is more than one key combination; a shortcut is one, such as \"Ctrl+Alt+Y\""_s.arg(text);
    if (const QString modifier = unknownModifier(text); !modifier.isNull())
        return u"\"%1\" names no modifier: \"%2\" is not one; they are Ctrl, Shift, Alt and Meta (the Super or Windows key)"_s
            .arg(text, modifier);
    return u"\"%1\" names no key of a keyboard: \"%2\" is not one"_s.arg(text, text.section(u'+', -1));
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
    if (wanted.isNull())
        return whyNoCombination(text);
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

QList<ShortcutBinding> ShortcutSettings::bindings(const UserDefaults &defaults)
{
    const QString program = AutostartEntry::program();
    QList<ShortcutBinding> bound;
    for (const auto &[key, fallback, what] : shortcuts()) {
        const QString keys = defaults.objectForKey(key).isString() ? defaults.stringForKey(key) : fallback;
        const bool selection = key == DesktopApplication::GuessSelectionShortcutKey;
        if (!keys.isEmpty())
            bound.append({selection ? u"guess"_s : u"clipboard"_s, u"Glimra: "_s + what, keys,
                          {program, selection ? u"guess"_s : u"clipboard"_s}});
    }
    return bound;
}

void ShortcutSettings::install()
{
    UserDefaults::setValidator(&ShortcutSettings::problem);
}

} // namespace glimra
