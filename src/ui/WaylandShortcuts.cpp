#include "ui/WaylandShortcuts.h"

#include "ui/DesktopApplication.h"
#include "ui/ShortcutSettings.h"
#include "desktop/wayland/BindingInstaller.h"
#include "desktop/wayland/GlobalShortcutsPortal.h"
#include "desktop/wayland/KeyCombination.h"
#include "foundation/Log.h"
#include "platform/UserDefaults.h"

#include <QKeySequence>

#include <utility>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QStringList keysOf(const QList<ShortcutBinding> &bindings)
{
    QStringList keys;
    for (const ShortcutBinding &binding : bindings)
        keys << binding.name + u'=' + binding.keys;
    return keys;
}

} // namespace

bool WaylandShortcuts::isWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariable("XDG_SESSION_TYPE") != u"x11"_s;
}

WaylandShortcuts::WaylandShortcuts(const UserDefaults &defaults, std::unique_ptr<BindingInstaller> installer,
                                   QObject *parent)
    : QObject(parent),
      m_defaults(defaults),
      m_installer(installer ? std::move(installer) : BindingInstaller::forSession())
{
}

WaylandShortcuts::~WaylandShortcuts() = default;

QList<ShortcutBinding> WaylandShortcuts::bindings() const
{
    return ShortcutSettings::bindings(m_defaults);
}

bool WaylandShortcuts::start(std::chrono::milliseconds timeout, const QDBusConnection &bus)
{
    QList<PortalShortcut> shortcuts;
    for (const ShortcutBinding &binding : bindings()) {
        const std::optional<KeyCombination> keys = KeyCombination::parse(binding.keys);
        shortcuts.append({binding.name, tr("Glimra: %1").arg(binding.name == u"guess"_s ? tr("guess the selection")
                                                                                        : tr("guess the clipboard")),
                          keys ? keys->toPortal() : QString()});
    }
    auto portal = std::make_unique<GlobalShortcutsPortal>(bus);
    QString problem;
    // Both shortcuts off: a session without shortcuts would only say the portal works.
    if (!shortcuts.isEmpty() && portal->open(shortcuts, timeout, &problem)) {
        connect(portal.get(), &GlobalShortcutsPortal::activated, this, [this](const QString &id) {
            emit activated(id == u"guess"_s ? GuessSelection : GuessClipboard);
        });
        connect(portal.get(), &GlobalShortcutsPortal::triggersChanged, this, &WaylandShortcuts::keysChanged);
        m_portal = std::move(portal);
        qCInfo(lcApp).noquote() << u"the shortcuts are the desktop's, through its GlobalShortcuts portal"_s;
        return true;
    }
    qCInfo(lcApp).noquote() << u"no GlobalShortcuts portal (%1): the desktop's own binding runs the shortcuts"_s.arg(problem);
    // A change made while Glimra did not run reaches the binding now.
    settingsChanged();
    return false;
}

bool WaylandShortcuts::usesPortal() const
{
    return m_portal && m_portal->isOpen();
}

void WaylandShortcuts::settingsChanged()
{
    if (usesPortal())
        return;
    // The installer's programs run with the event loop turning, so another change can
    // arrive meanwhile: it is applied once the one under way has ended, never inside it.
    if (m_applying) {
        m_changedWhileApplying = true;
        return;
    }
    m_applying = true;
    do {
        m_changedWhileApplying = false;
        applySettings();
    } while (m_changedWhileApplying);
    m_applying = false;
}

void WaylandShortcuts::applySettings()
{
    const QList<ShortcutBinding> wanted = bindings();
    if (keysOf(wanted) == m_applied)
        return;
    m_applied = keysOf(wanted);
    if (!m_installer->isInstalled())
        return;
    const BindingChange change = wanted.isEmpty() ? m_installer->remove() : m_installer->install(wanted);
    if (change.result == BindingChange::Result::Failed)
        emit failed(change.messageShown());
}

BindingChange WaylandShortcuts::install()
{
    // Asked again while a binding is being written (a second click meanwhile): one writer.
    if (m_applying)
        return {BindingChange::Result::Failed, tr("the shortcuts are being written already; try again in a moment"), {}, {}};
    m_applying = true;
    const QList<ShortcutBinding> wanted = bindings();
    const BindingChange change = wanted.isEmpty() ? m_installer->remove() : m_installer->install(wanted);
    if (change.result != BindingChange::Result::Failed)
        m_applied = keysOf(wanted);
    m_applying = false;
    // A settings change that came meanwhile.
    if (std::exchange(m_changedWhileApplying, false))
        settingsChanged();
    return change;
}

QString WaylandShortcuts::keysText(const QString &settingsKey) const
{
    const QString name = settingsKey == DesktopApplication::GuessSelectionShortcutKey ? u"guess"_s : u"clipboard"_s;
    for (const ShortcutBinding &binding : bindings()) {
        if (binding.name != name)
            continue;
        // The portal tells the keys the user bound in the desktop's settings, where it does.
        const QString bound = usesPortal() ? m_portal->trigger(name) : QString();
        if (!bound.isEmpty())
            return bound;
        if (usesPortal() || !m_installer->isInstalled())
            return tr("bound in the desktop's settings");
        return QKeySequence::fromString(binding.keys, QKeySequence::PortableText).toString(QKeySequence::NativeText);
    }
    return {};
}

} // namespace glimra
