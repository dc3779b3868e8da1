#include "FakeInput.h"

#include "WaylandSession.h"

#include "fake-input-client-protocol.h"

namespace glimra {

namespace {
constexpr quint32 Pressed = 1;
constexpr quint32 Released = 0;
} // namespace

FakeInput *FakeInput::create(WaylandSession &session)
{
    auto *input = static_cast<org_kde_kwin_fake_input *>(session.bind(
        &org_kde_kwin_fake_input_interface, 4, nullptr, ORG_KDE_KWIN_FAKE_INPUT_KEYBOARD_KEY_SINCE_VERSION));
    return input ? new FakeInput(session, input) : nullptr;
}

FakeInput::FakeInput(WaylandSession &session, org_kde_kwin_fake_input *input)
    : KeystrokeSender(&session)
    , m_session(session)
    , m_input(input)
{
    org_kde_kwin_fake_input_authenticate(m_input, "Glimra", "copy the selection and paste results");
}

FakeInput::~FakeInput()
{
    org_kde_kwin_fake_input_destroy(m_input);
    m_session.flush();
}

QString FakeInput::interfaceName() const
{
    return QString::fromLatin1(org_kde_kwin_fake_input_interface.name);
}

bool FakeInput::sendChord(const QList<int> &modifiers, int key)
{
    if (!m_session.isConnected())
        return false;
    for (int modifier : modifiers)
        org_kde_kwin_fake_input_keyboard_key(m_input, quint32(modifier), Pressed);
    org_kde_kwin_fake_input_keyboard_key(m_input, quint32(key), Pressed);
    org_kde_kwin_fake_input_keyboard_key(m_input, quint32(key), Released);
    for (auto modifier = modifiers.crbegin(); modifier != modifiers.crend(); ++modifier)
        org_kde_kwin_fake_input_keyboard_key(m_input, quint32(*modifier), Released);
    m_session.flush();
    return true;
}

} // namespace glimra
