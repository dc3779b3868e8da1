#include "KeyCombination.h"

#include <QHash>
#include <QStringList>

namespace glimra {

namespace {

// Keys whose XKB name differs from Qt's (letters and digits are their own names, in lower
// case; F1… are the same in both).
QString xkbName(const QString &key)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("space"), QStringLiteral("space")},   {QStringLiteral("return"), QStringLiteral("Return")},
        {QStringLiteral("enter"), QStringLiteral("Return")},  {QStringLiteral("esc"), QStringLiteral("Escape")},
        {QStringLiteral("escape"), QStringLiteral("Escape")}, {QStringLiteral("tab"), QStringLiteral("Tab")},
        {QStringLiteral("backspace"), QStringLiteral("BackSpace")}, {QStringLiteral("del"), QStringLiteral("Delete")},
        {QStringLiteral("delete"), QStringLiteral("Delete")}, {QStringLiteral("ins"), QStringLiteral("Insert")},
        {QStringLiteral("insert"), QStringLiteral("Insert")}, {QStringLiteral("home"), QStringLiteral("Home")},
        {QStringLiteral("end"), QStringLiteral("End")},       {QStringLiteral("pgup"), QStringLiteral("Prior")},
        {QStringLiteral("pgdown"), QStringLiteral("Next")},   {QStringLiteral("print"), QStringLiteral("Print")},
    };
    const QString lower = key.toLower();
    if (key.size() == 1 && key.at(0).isLetterOrNumber() && key.at(0).unicode() < 128)
        return lower;
    if (lower.size() >= 2 && lower.at(0) == QLatin1Char('f')) {
        bool number = false;
        const int n = lower.mid(1).toInt(&number);
        if (number && n >= 1 && n <= 35)
            return QStringLiteral("F%1").arg(n);
    }
    return names.value(lower);
}

} // namespace

std::optional<KeyCombination> KeyCombination::parse(const QString &keys)
{
    // The first combination of a sequence ("Meta+Alt+G, X" binds Meta+Alt+G).
    const QString first = keys.section(QLatin1Char(','), 0, 0).trimmed();
    QStringList parts = first.split(QLatin1Char('+'));
    // "Ctrl++" names the plus key.
    if (first.endsWith(QLatin1String("++"))) {
        parts.removeLast();
        parts.last() = QStringLiteral("+");
    }
    if (parts.isEmpty())
        return std::nullopt;
    KeyCombination combination;
    combination.m_text = parts.takeLast().trimmed();
    combination.m_key = combination.m_text == QLatin1String("+") ? QStringLiteral("plus") : xkbName(combination.m_text);
    if (combination.m_key.isEmpty())
        return std::nullopt;
    for (const QString &part : std::as_const(parts)) {
        const QString modifier = part.trimmed().toLower();
        if (modifier == QLatin1String("meta") || modifier == QLatin1String("super"))
            combination.m_super = true;
        else if (modifier == QLatin1String("alt"))
            combination.m_alt = true;
        else if (modifier == QLatin1String("ctrl") || modifier == QLatin1String("control"))
            combination.m_control = true;
        else if (modifier == QLatin1String("shift"))
            combination.m_shift = true;
        else
            return std::nullopt;
    }
    return combination;
}

QString KeyCombination::toSway() const
{
    QStringList parts;
    if (m_super)
        parts << QStringLiteral("Mod4");
    if (m_alt)
        parts << QStringLiteral("Mod1");
    if (m_control)
        parts << QStringLiteral("Ctrl");
    if (m_shift)
        parts << QStringLiteral("Shift");
    return (parts << m_key).join(QLatin1Char('+'));
}

QString KeyCombination::toGnome() const
{
    QString text;
    if (m_super)
        text += QStringLiteral("<Super>");
    if (m_alt)
        text += QStringLiteral("<Alt>");
    if (m_control)
        text += QStringLiteral("<Control>");
    if (m_shift)
        text += QStringLiteral("<Shift>");
    return text + m_key;
}

QString KeyCombination::toPortal() const
{
    QStringList parts;
    if (m_control)
        parts << QStringLiteral("CTRL");
    if (m_alt)
        parts << QStringLiteral("ALT");
    if (m_shift)
        parts << QStringLiteral("SHIFT");
    if (m_super)
        parts << QStringLiteral("LOGO");
    return (parts << m_key).join(QLatin1Char('+'));
}

QString KeyCombination::toText() const
{
    QStringList parts;
    if (m_super)
        parts << QStringLiteral("Super");
    if (m_alt)
        parts << QStringLiteral("Alt");
    if (m_control)
        parts << QStringLiteral("Ctrl");
    if (m_shift)
        parts << QStringLiteral("Shift");
    return (parts << m_text).join(QLatin1Char('+'));
}

} // namespace glimra
