#pragma once

#include "KeystrokeSender.h"

struct org_kde_kwin_fake_input;

namespace glimra {

/// Key presses through KWin's org_kde_kwin_fake_input (keyboard_key, from its version 4),
/// which KWin offers only to a program whose executable is named by an installed desktop
/// entry carrying "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input". KWin reads the keys
/// through the user's keymap.
class FakeInput : public KeystrokeSender
{
    Q_OBJECT
public:
    /// Null when the compositor does not offer it at version 4 or later.
    static FakeInput *create(WaylandSession &session);
    ~FakeInput() override;

    QString interfaceName() const override;
    bool sendChord(const QList<int> &modifiers, int key) override;

private:
    FakeInput(WaylandSession &session, org_kde_kwin_fake_input *input);

    WaylandSession &m_session;
    org_kde_kwin_fake_input *m_input;
};

} // namespace glimra
