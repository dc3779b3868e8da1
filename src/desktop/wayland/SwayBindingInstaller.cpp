#include "SwayBindingInstaller.h"

#include "KeyCombination.h"
#include "SwayIpc.h"
#include "commandText.h"

#include "foundation/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace glimra {

namespace {

using namespace std::chrono_literals;

const QByteArray Header = QByteArrayLiteral(
    "# Glimra's shortcuts, written by `glimra shortcut install`; `glimra shortcut remove` takes them out.\n");
// Which line Glimra appended to the user's configuration, so that remove takes out that
// and nothing else: the include line alone, or a line break before it as well (the file
// did not end with one).
const QByteArray AppendedLine = QByteArrayLiteral("# appended to the user's configuration: include line\n");
const QByteArray AppendedBreakAndLine = QByteArrayLiteral("# appended to the user's configuration: line break and include line\n");

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Writes in place, through a link and with the file's own permissions: the user's file
// stays the user's.
bool writeInPlace(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size()
        && file.flush();
}

// `source` marked with QT_TRANSLATE_NOOP("glimra::BindingChange", …).
BindingChange failed(const char *source, const QString &argument)
{
    return BindingChange::said(BindingChange::Result::Failed, source, {argument});
}

} // namespace

SwayBindingInstaller::SwayBindingInstaller(QString configHome, QString home, QString swaySocket)
    : m_configHome(configHome.isEmpty() ? configHomeDir() : std::move(configHome))
    , m_home(home.isEmpty() ? homeDir() : std::move(home))
    , m_socket(std::move(swaySocket))
{
}

QString SwayBindingInstaller::mechanism() const
{
    return QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "sway's configuration"));
}

QString SwayBindingInstaller::bindingsFile() const
{
    return m_configHome + QStringLiteral("/Glimra/sway-shortcuts.conf");
}

QString SwayBindingInstaller::userConfiguration() const
{
    for (const QString &path : {m_home + QStringLiteral("/.sway/config"), m_configHome + QStringLiteral("/sway/config"),
                                m_home + QStringLiteral("/.i3/config"), m_configHome + QStringLiteral("/i3/config")}) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString SwayBindingInstaller::includeLine() const
{
    return QStringLiteral("include ") + commandText({bindingsFile()});
}

QStringList SwayBindingInstaller::bindsymLines(const QList<ShortcutBinding> &bindings, QString *unbindable)
{
    QStringList lines;
    for (const ShortcutBinding &binding : bindings) {
        const std::optional<KeyCombination> keys = KeyCombination::parse(binding.keys);
        if (!keys) {
            *unbindable = binding.keys;
            return {};
        }
        lines << QStringLiteral("bindsym %1 exec %2").arg(keys->toSway(), commandText(binding.command));
    }
    return lines;
}

BindingChange SwayBindingInstaller::reloaded(BindingChange change) const
{
    QString problem;
    if (!SwayIpc(m_socket).runCommand(QStringLiteral("reload"), 5s, &problem))
        change.add(QT_TRANSLATE_NOOP("glimra::BindingChange", " Reload sway (swaymsg reload) for it to take effect: %1."),
                   {problem});
    return change;
}

BindingChange SwayBindingInstaller::install(const QList<ShortcutBinding> &bindings)
{
    QString unbindable;
    const QStringList lines = bindsymLines(bindings, &unbindable);
    if (lines.isEmpty())
        return failed(QT_TRANSLATE_NOOP("glimra::BindingChange", "\"%1\" names no key sway can bind"), unbindable);
    const QString configuration = userConfiguration();
    if (configuration.isEmpty()) {
        return BindingChange::said(
            BindingChange::Result::NothingToDo,
            QT_TRANSLATE_NOOP("glimra::BindingChange",
                              "sway runs its system configuration: a configuration of your own would hide it, so "
                              "Glimra wrote nothing. Add these lines to your sway configuration "
                              "(~/.config/sway/config, made from a copy of /etc/sway/config), then reload sway:"),
            {}, lines);
    }
    const std::optional<QByteArray> existing = readFile(configuration);
    if (!existing)
        return failed(QT_TRANSLATE_NOOP("glimra::BindingChange", "cannot read %1"), configuration);

    // What was appended before stays recorded; otherwise the include line is appended now,
    // unless the user has it already (then it is theirs, and remove leaves it).
    const std::optional<QByteArray> previous = readFile(bindingsFile());
    QByteArray record;
    if (previous && (previous->contains(AppendedLine) || previous->contains(AppendedBreakAndLine)))
        record = previous->contains(AppendedLine) ? AppendedLine : AppendedBreakAndLine;
    const QByteArray include = includeLine().toUtf8() + '\n';
    QByteArray appended;
    if (record.isEmpty() && !(existing->startsWith(include) || existing->contains('\n' + include))) {
        const bool needsBreak = !existing->isEmpty() && !existing->endsWith('\n');
        appended = needsBreak ? '\n' + include : include;
        record = needsBreak ? AppendedBreakAndLine : AppendedLine;
    }

    const QByteArray contents = Header + record + lines.join(QLatin1Char('\n')).toUtf8() + '\n';
    // Bound as asked already: sway is not reloaded for nothing (the running Glimra installs
    // again at each start, and whenever a shortcut setting changes).
    if (appended.isEmpty() && previous == contents)
        return BindingChange::said(BindingChange::Result::NothingToDo,
                                   QT_TRANSLATE_NOOP("glimra::BindingChange", "Already bound in %1 (included from %2)."),
                                   {bindingsFile(), configuration});
    QDir().mkpath(QFileInfo(bindingsFile()).path());
    QSaveFile own(bindingsFile());
    if (!own.open(QIODevice::WriteOnly) || own.write(contents) != contents.size() || !own.commit())
        return failed(QT_TRANSLATE_NOOP("glimra::BindingChange", "cannot write %1"), bindingsFile());
    if (!appended.isEmpty()) {
        QFile file(configuration);
        if (!file.open(QIODevice::Append) || file.write(appended) != appended.size() || !file.flush())
            return failed(QT_TRANSLATE_NOOP("glimra::BindingChange", "cannot add the include line to %1"), configuration);
    }
    return reloaded(BindingChange::said(BindingChange::Result::Changed,
                                        QT_TRANSLATE_NOOP("glimra::BindingChange", "Bound in %1 (included from %2)."),
                                        {bindingsFile(), configuration}));
}

BindingChange SwayBindingInstaller::remove()
{
    const std::optional<QByteArray> own = readFile(bindingsFile());
    if (!own || !own->startsWith(Header))
        return BindingChange::said(BindingChange::Result::NothingToDo,
                                   QT_TRANSLATE_NOOP("glimra::BindingChange", "Glimra has bound nothing in sway."));
    const QString configuration = userConfiguration();
    const bool withBreak = own->contains(AppendedBreakAndLine);
    if ((withBreak || own->contains(AppendedLine)) && !configuration.isEmpty()) {
        QByteArray text = readFile(configuration).value_or(QByteArray());
        const QByteArray include = includeLine().toUtf8() + '\n';
        const QByteArray appended = withBreak ? '\n' + include : include;
        if (text.endsWith(appended)) {
            text.chop(appended.size());
        } else {
            // Lines were added after it: only the include line itself goes.
            const qsizetype found = text.indexOf('\n' + include);
            const qsizetype at = text.startsWith(include) ? 0 : found >= 0 ? found + 1 : -1;
            if (at >= 0)
                text.remove(at, include.size());
        }
        if (!writeInPlace(configuration, text))
            return failed(QT_TRANSLATE_NOOP("glimra::BindingChange", "cannot take the include line out of %1"),
                          configuration);
    }
    if (!QFile::remove(bindingsFile()))
        return failed(QT_TRANSLATE_NOOP("glimra::BindingChange", "cannot remove %1"), bindingsFile());
    return reloaded(BindingChange::said(BindingChange::Result::Changed,
                                        QT_TRANSLATE_NOOP("glimra::BindingChange",
                                                          "Glimra's shortcuts are no longer bound in sway.")));
}

bool SwayBindingInstaller::isInstalled() const
{
    return readFile(bindingsFile()).value_or(QByteArray()).startsWith(Header);
}

} // namespace glimra
