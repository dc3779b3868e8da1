#include "KeystrokeSender.h"

#include "FakeInput.h"
#include "VirtualKeyboard.h"

namespace glimra {

KeystrokeSender *KeystrokeSender::create(WaylandSession &session)
{
    if (KeystrokeSender *fake = FakeInput::create(session))
        return fake;
    return VirtualKeyboard::create(session);
}

bool KeystrokeSender::send(Keystroke keystroke)
{
    return sendChord({KeyLeftCtrl}, keystroke == Keystroke::Copy ? KeyC : KeyV);
}

} // namespace glimra
