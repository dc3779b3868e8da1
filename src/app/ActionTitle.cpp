#include "app/ActionTitle.h"

#include "matching/ActionObject.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The built-in actions' labels and their icons.
const QList<std::pair<QString, QString>> &builtInIcons()
{
    static const QList<std::pair<QString, QString>> icons = {
        {u"open"_s, u"document-open"_s},       {u"open at line"_s, u"accessories-text-editor"_s},
        {u"reveal"_s, u"folder-open"_s},       {u"search"_s, u"web-browser"_s},
        {u"spotlight"_s, u"system-search"_s},  {u"paste"_s, u"edit-paste"_s},
        {u"copy"_s, u"edit-copy"_s},           {u"run"_s, u"utilities-terminal"_s},
    };
    return icons;
}

const QString PlugInIcon = u"system-run"_s;

QString quoted(const QString &text)
{
    // Each language has its own quotation marks.
    return QCoreApplication::translate("ActionTitle", "“%1”", "a quoted text").arg(text);
}

} // namespace

QString ActionTitle::shortened(const QString &text, qsizetype length)
{
    const QString line = QStringView(text).left(length * 4).toString().simplified();
    if (line.size() <= length)
        return line;
    // Never half a surrogate pair.
    const qsizetype cut = line.at(length - 1).isHighSurrogate() ? length - 1 : length;
    return line.left(cut) + QChar(0x2026);
}

QString ActionTitle::fileName(const Context &matched)
{
    const QStringList paths = matched.value(ACT_PATHS).split(u'\n', Qt::SkipEmptyParts);
    if (paths.size() > 1)
        return tr("%n files", nullptr, int(paths.size()));
    QString path = matched.contains(ACT_PATH) ? matched.value(ACT_PATH) : paths.value(0);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QString name = QFileInfo(path).fileName();
    return shortened(name.isEmpty() ? path : name);
}

QString ActionTitle::title(const QString &label, const QString &detail, const Context &matched,
                           const QString &editor)
{
    const QString words = matched.value(ACT_WORDS);
    if (label == u"open"_s)
        return matched.contains(ACT_PATH) || matched.contains(ACT_PATHS)
            ? tr("Open %1").arg(fileName(matched))
            : tr("Open %1").arg(shortened(matched.value(ACT_URLS).section(u'\n', 0, 0)));
    if (label == u"open at line"_s) {
        const QString at = tr("Open %1 at line %2").arg(fileName(matched), shortened(matched.value(ACT_PATH_LINE)));
        return editor.isEmpty() ? at : tr("%1 in %2").arg(at, editor);
    }
    if (label == u"reveal"_s)
        return tr("Show in file manager");
    if (label == u"search"_s)
        return editor.isEmpty() ? tr("Search the web for %1").arg(quoted(shortened(words)))
                                : tr("Search %1 for %2").arg(editor, quoted(shortened(words)));
    if (label == u"spotlight"_s)
        return tr("Find files named %1").arg(quoted(shortened(words)));
    // Both put ACT_TEXT (a calculation's result, a plug-in's text) on the clipboard.
    const QString text = matched.contains(ACT_TEXT) ? matched.value(ACT_TEXT) : detail;
    if (label == u"paste"_s)
        return text.isEmpty() ? tr("Paste") : tr("Paste %1").arg(shortened(text));
    if (label == u"copy"_s && !text.isEmpty() && text == matched.value(ACT_PATH))
        return tr("Copy the path"); // shown whole beside the title
    if (label == u"copy"_s && text.contains(u'\n') && text == matched.value(ACT_PATHS))
        return tr("Copy %n paths", nullptr, int(text.count(u'\n') + 1));
    if (label == u"copy"_s)
        return text.isEmpty() ? tr("Copy") : tr("Copy %1").arg(shortened(text));
    if (label == u"run"_s) {
        // A longer command is shown whole beside the title, never cut inside it.
        const QString command = matched.value(ACT_COMMAND, detail);
        return command.size() <= ShortCommand && !command.contains(u'\n')
            ? tr("Run %1").arg(u"`%1`"_s.arg(command.trimmed()))
            : tr("Run the command");
    }
    return label;
}

bool ActionTitle::isBuiltIn(const QString &className)
{
    static const QStringList builtIn = {u"OpenAction"_s,      u"OpenAtLineAction"_s, u"RevealAction"_s,
                                        u"WebSearchAction"_s, u"SpotlightAction"_s,  u"PasteAction"_s,
                                        u"CopyAction"_s,      u"RunCommandAction"_s};
    return builtIn.contains(className);
}

QString ActionTitle::iconName(const QString &className, const QString &label, const Context &matched)
{
    if (!isBuiltIn(className))
        return PlugInIcon;
    // An address opens in the web browser.
    if (label == u"open"_s && !matched.contains(ACT_PATH) && !matched.contains(ACT_PATHS))
        return u"web-browser"_s;
    for (const auto &[builtInLabel, icon] : builtInIcons())
        if (builtInLabel == label)
            return icon;
    return PlugInIcon;
}

QStringList ActionTitle::iconNames()
{
    QStringList names{PlugInIcon};
    for (const auto &[label, icon] : builtInIcons())
        if (!names.contains(icon))
            names.append(icon);
    return names;
}

QString ActionTitle::title(const ActionObject &action, const Context &matched, const QString &editor)
{
    // Only the built-in actions have titles; a plug-in's label is its own words.
    if (!action.scriptFile().isEmpty() || !isBuiltIn(action.name()))
        return action.label();
    // A web search names its engine where "open at line" names its editor.
    const QString named = action.titleName();
    return title(action.label(), action.detail(), matched, named.isEmpty() ? editor : named);
}

} // namespace glimra
