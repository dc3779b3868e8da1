#include "desktop/WaylandDesktop.h"

#include "desktop/WaylandClipboard.h"
#include "desktop/WaylandRunningApplications.h"
#include "desktop/wayland/DataControl.h"
#include "desktop/wayland/KeystrokeSender.h"
#include "desktop/wayland/WaylandSession.h"

#include <QPointer>

namespace glimra {

namespace {

constexpr std::chrono::milliseconds ConnectTimeout = std::chrono::seconds(5);

} // namespace

std::unique_ptr<WaylandDesktop> WaylandDesktop::connect(QString *problem)
{
    // KWin answers a program it grants its window list to only once it has looked up the
    // program's desktop entry: 1.4 to 1.9 s were measured (a few milliseconds otherwise).
    std::unique_ptr<WaylandSession> session = WaylandSession::connectToSession(problem, ConnectTimeout);
    if (!session)
        return nullptr;
    return std::unique_ptr<WaylandDesktop>(new WaylandDesktop(std::move(session)));
}

WaylandDesktop::WaylandDesktop(std::shared_ptr<WaylandSession> session) : m_session(std::move(session))
{
    if (DataControl *control = DataControl::create(*m_session)) {
        m_selectionMechanism = control->interfaceName();
        m_clipboard = std::make_shared<WaylandClipboard>(m_session, control, SelectionKind::Clipboard);
        if (control->hasPrimary())
            m_primary = std::make_shared<WaylandClipboard>(m_session, control, SelectionKind::Primary);
    }
    if (std::unique_ptr<WaylandRunningApplications> applications = WaylandRunningApplications::create(m_session)) {
        m_windowListMechanism = applications->mechanism();
        m_applications = std::move(applications);
    }
    // The keyboard is made when the first keystroke is sent: a guess that finds a selection
    // adds no keyboard to the seat.
    for (const QString &interface : {QStringLiteral("org_kde_kwin_fake_input"), QStringLiteral("zwp_virtual_keyboard_manager_v1")}) {
        if (m_session->version(interface)) {
            m_keystrokeMechanism = interface;
            break;
        }
    }
    if (!m_keystrokeMechanism.isEmpty()) {
        auto sender = std::make_shared<QPointer<KeystrokeSender>>();
        m_copyKeystroke = [sender, connection = m_session] {
            if (!*sender)
                *sender = KeystrokeSender::create(*connection);
            if (*sender)
                (*sender)->send(KeystrokeSender::Keystroke::Copy);
        };
    }
}

WaylandDesktop::~WaylandDesktop() = default;

} // namespace glimra
