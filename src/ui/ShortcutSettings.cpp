#include "ui/ShortcutSettings.h"

#include "ui/AutostartEntry.h"
#include "ui/DesktopApplication.h"
#include "foundation/Wording.h"
#include "platform/UserDefaults.h"

#include <QKeySequence>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

struct Shortcut
{
    QString key;
    QString fallback;
    const char *what; // marked for translation
};

constexpr const char *Context = "glimra::ShortcutSettings";

const QList<Shortcut> &shortcuts()
{
    static const QList<Shortcut> all{
        {DesktopApplication::GuessSelectionShortcutKey, DesktopApplication::DefaultGuessSelectionShortcut,
         QT_TRANSLATE_NOOP("glimra::ShortcutSettings", "guess the selection")},
        {DesktopApplication::GuessClipboardShortcutKey, DesktopApplication::DefaultGuessClipboardShortcut,
         QT_TRANSLATE_NOOP("glimra::ShortcutSettings", "guess the clipboard")}};
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
QString whyNoCombination(Language language, const QString &text)
{
    if (text.contains(u','))
        return wording(language, Context,
                       QT_TRANSLATE_NOOP("glimra::ShortcutSettings",
                                         "\"%1\" is more than one key combination; a shortcut is one, such as "
                                         "\"Ctrl+Alt+Y\""),
                       {text});
    if (const QString modifier = unknownModifier(text); !modifier.isNull())
        return wording(language, Context,
                       QT_TRANSLATE_NOOP("glimra::ShortcutSettings",
                                         "\"%1\" names no modifier: \"%2\" is not one; they are Ctrl, Shift, Alt "
                                         "and Meta (the Super or Windows key)"),
                       {text, modifier});
    return wording(language, Context,
                   QT_TRANSLATE_NOOP("glimra::ShortcutSettings",
                                     "\"%1\" names no key of a keyboard: \"%2\" is not one"),
                   {text, text.section(u'+', -1)});
}

// Why `value` cannot be stored under `key`, in `language`.
QString problemIn(Language language, const QString &key, const QJsonValue &value, const QJsonObject &all)
{
    const auto own = std::find_if(shortcuts().cbegin(), shortcuts().cend(),
                                  [&key](const Shortcut &shortcut) { return shortcut.key == key; });
    if (own == shortcuts().cend() || !value.isString() || value.toString().isEmpty())
        return {};
    const QString text = value.toString();
    const QString wanted = combination(text);
    if (wanted.isNull())
        return whyNoCombination(language, text);
    for (const Shortcut &other : shortcuts()) {
        if (other.key == key)
            continue;
        const QJsonValue stored = all.value(other.key);
        const QString otherText = stored.isString() ? stored.toString() : other.fallback;
        if (!otherText.isEmpty() && combination(otherText) == wanted)
            return wording(language, Context,
                           QT_TRANSLATE_NOOP("glimra::ShortcutSettings",
                                             "\"%1\" is already the shortcut to %2 (\"%3\")"),
                           {text, wording(language, Context, other.what), other.key});
    }
    return {};
}

} // namespace

QString ShortcutSettings::problem(const QString &key, const QJsonValue &value, const QJsonObject &all)
{
    return problemIn(Language::English, key, value, all);
}

QString ShortcutSettings::shownProblem(const QString &key, const QJsonValue &value, const QJsonObject &all)
{
    return problemIn(Language::Users, key, value, all);
}

QList<ShortcutBinding> ShortcutSettings::bindings(const UserDefaults &defaults)
{
    const QString program = AutostartEntry::program();
    QList<ShortcutBinding> bound;
    for (const auto &[key, fallback, what] : shortcuts()) {
        const QString keys = defaults.objectForKey(key).isString() ? defaults.stringForKey(key) : fallback;
        const bool selection = key == DesktopApplication::GuessSelectionShortcutKey;
        if (!keys.isEmpty())
            bound.append({selection ? u"guess"_s : u"clipboard"_s, u"Glimra: "_s + QString::fromUtf8(what), keys,
                          {program, selection ? u"guess"_s : u"clipboard"_s}});
    }
    return bound;
}

void ShortcutSettings::install()
{
    UserDefaults::setValidator(&ShortcutSettings::problem);
}

} // namespace glimra
