#include "GnomeBindingInstaller.h"

#include "KeyCombination.h"
#include "commandText.h"

#include "foundation/ProgramRunner.h"

namespace glimra {

namespace {

const QString ListKey = QStringLiteral("custom-keybindings");

// What gsettings said, as it said it.
BindingChange failed(const QString &problem)
{
    return {BindingChange::Result::Failed, problem, {}, {}};
}

} // namespace

const QString GnomeBindingInstaller::ListSchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString GnomeBindingInstaller::BindingSchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding");
const QString GnomeBindingInstaller::PathPrefix = QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/glimra-");

QString GnomeBindingInstaller::mechanism() const
{
    return QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "GNOME's custom keyboard shortcuts"));
}

bool GnomeBindingInstaller::gsettings(const QStringList &arguments, QString *output, QString *problem)
{
    ProcessRequest request;
    request.program = QStringLiteral("gsettings");
    request.arguments = arguments;
    request.timeout = std::chrono::seconds(5);
    // The resident application rewrites the binding when a setting changes: a gsettings
    // that stalls (its settings service busy or gone) must not freeze the panel meanwhile.
    request.keepEventLoopRunning = true;
    const ProcessResult result = ProgramRunner::standard().run(request);
    if (!result.succeeded()) {
        *problem = QStringLiteral("gsettings %1 failed: %2").arg(arguments.value(0),
                       result.started ? QString::fromLocal8Bit(result.standardError).trimmed()
                                      : QStringLiteral("it is not installed"));
        if (problem->endsWith(QLatin1String(": ")))
            *problem += result.failureDescription();
        return false;
    }
    if (output)
        *output = QString::fromUtf8(result.standardOutput).trimmed();
    return true;
}

std::optional<QStringList> GnomeBindingInstaller::customKeybindings(QString *problem)
{
    QString output, reason;
    if (!gsettings({QStringLiteral("get"), ListSchema, ListKey}, &output, &reason)) {
        if (problem)
            *problem = reason;
        return std::nullopt;
    }
    std::optional<QStringList> paths = parseStringArray(output);
    if (!paths && problem)
        *problem = QStringLiteral("the list of custom keybindings is not a list of paths");
    return paths;
}

bool GnomeBindingInstaller::setList(const QStringList &paths, QString *problem)
{
    return gsettings({QStringLiteral("set"), ListSchema, ListKey, formatStringArray(paths)}, nullptr, problem);
}

QStringList GnomeBindingInstaller::ownPaths(const QStringList &paths)
{
    QStringList ours;
    for (const QString &path : paths) {
        if (path.startsWith(PathPrefix))
            ours << path;
    }
    return ours;
}

void GnomeBindingInstaller::resetBindings(const QStringList &paths)
{
    QString problem;
    for (const QString &path : paths) {
        for (const char *key : {"name", "command", "binding"})
            gsettings({QStringLiteral("reset"), BindingSchema + QLatin1Char(':') + path, QLatin1String(key)}, nullptr, &problem);
    }
}

bool GnomeBindingInstaller::isInstalled() const
{
    const std::optional<QStringList> paths = customKeybindings();
    return paths && !ownPaths(*paths).isEmpty();
}

BindingChange GnomeBindingInstaller::install(const QList<ShortcutBinding> &bindings)
{
    QString problem;
    std::optional<QStringList> paths = customKeybindings(&problem);
    if (!paths)
        return failed(problem);
    // A shortcut turned off since the last install goes; the user's own paths stay as they
    // are, in their order.
    QStringList wanted;
    for (const ShortcutBinding &binding : bindings)
        wanted << PathPrefix + binding.name + QLatin1Char('/');
    QStringList stale;
    for (const QString &path : ownPaths(*paths)) {
        if (!wanted.contains(path))
            stale << path;
    }
    for (const QString &path : std::as_const(stale))
        paths->removeAll(path);
    QList<Phrase> bound;
    for (const ShortcutBinding &binding : bindings) {
        const std::optional<KeyCombination> keys = KeyCombination::parse(binding.keys);
        if (!keys)
            return BindingChange::said(BindingChange::Result::Failed,
                                       QT_TRANSLATE_NOOP("glimra::BindingChange", "\"%1\" names no key GNOME can bind"),
                                       {binding.keys});
        const QString schema = BindingSchema + QLatin1Char(':') + PathPrefix + binding.name + QLatin1Char('/');
        const QList<QPair<QString, QString>> values = {{QStringLiteral("name"), binding.description},
                                                       {QStringLiteral("command"), commandText(binding.command)},
                                                       {QStringLiteral("binding"), keys->toGnome()}};
        for (const auto &[key, value] : values) {
            if (!gsettings({QStringLiteral("set"), schema, key, quoteString(value)}, nullptr, &problem))
                return failed(problem);
        }
        const QString path = PathPrefix + binding.name + QLatin1Char('/');
        if (!paths->contains(path))
            paths->append(path);
        bound << keys->toText();
    }
    if (!setList(*paths, &problem))
        return failed(problem);
    resetBindings(stale);
    return BindingChange::said(
        BindingChange::Result::Changed,
        QT_TRANSLATE_NOOP("glimra::BindingChange", "Bound %1 in GNOME's custom keyboard shortcuts."),
        {Phrase::joined(bound, "glimra::BindingChange", QT_TRANSLATE_NOOP("glimra::BindingChange", " and "))});
}

BindingChange GnomeBindingInstaller::remove()
{
    QString problem;
    std::optional<QStringList> paths = customKeybindings(&problem);
    if (!paths)
        return failed(problem);
    const QStringList ours = ownPaths(*paths);
    if (ours.isEmpty())
        return BindingChange::said(BindingChange::Result::NothingToDo,
                                   QT_TRANSLATE_NOOP("glimra::BindingChange", "Glimra has bound nothing in GNOME."));
    for (const QString &path : std::as_const(ours))
        paths->removeAll(path);
    if (!setList(*paths, &problem))
        return failed(problem);
    resetBindings(ours);
    return BindingChange::said(BindingChange::Result::Changed,
                               QT_TRANSLATE_NOOP("glimra::BindingChange", "Glimra's shortcuts are no longer bound in GNOME."));
}

std::optional<QStringList> GnomeBindingInstaller::parseStringArray(const QString &text)
{
    QString rest = text.trimmed();
    if (rest.startsWith(QLatin1String("@as ")))
        rest = rest.mid(4).trimmed();
    if (!rest.startsWith(QLatin1Char('[')) || !rest.endsWith(QLatin1Char(']')))
        return std::nullopt;
    QStringList strings;
    qsizetype i = 1;
    const qsizetype end = rest.size() - 1;
    auto skipSpace = [&] {
        while (i < end && rest.at(i).isSpace())
            ++i;
    };
    skipSpace();
    while (i < end) {
        const QChar quote = rest.at(i);
        if (quote != QLatin1Char('\'') && quote != QLatin1Char('"'))
            return std::nullopt;
        QString value;
        for (++i; i < end && rest.at(i) != quote; ++i) {
            if (rest.at(i) == QLatin1Char('\\') && i + 1 < end)
                ++i;
            value += rest.at(i);
        }
        if (i >= end)
            return std::nullopt;
        strings << value;
        ++i;
        skipSpace();
        if (i < end && rest.at(i) != QLatin1Char(','))
            return std::nullopt;
        ++i;
        skipSpace();
    }
    return strings;
}

QString GnomeBindingInstaller::quoteString(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString GnomeBindingInstaller::formatStringArray(const QStringList &strings)
{
    QStringList quoted;
    for (const QString &text : strings)
        quoted << quoteString(text);
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace glimra
