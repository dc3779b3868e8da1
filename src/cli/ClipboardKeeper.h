#pragma once

#include "foundation/ProgramRunner.h"
#include "platform/Clipboard.h"

#include <QString>

namespace glimra {

/// On X11 a clipboard lives as long as its owner. A short-lived glimra that filled the
/// clipboard hands it over, before it exits, to a keeper: a detached glimra that serves
/// the same data until another program takes the clipboard over, as xclip does.
class ClipboardKeeper
{
public:
    /// When this process owns the desktop clipboard, launches a keeper (through `runner`)
    /// with everything it holds and waits (at most a few seconds) until the keeper has taken
    /// it over. A keeper that cannot be started leaves no file behind.
    static void handOver(Clipboard &clipboard, ProgramRunner &runner = ProgramRunner::standard());

    /// The keeper's own run ("glimra clipboard-keeper FILE"): serves the contents saved in
    /// FILE (which it removes) until another program owns the clipboard. Needs a display.
    static int run(const QString &contentsFile);

private:
    /// Owns `clipboard` with `contents` until another program takes it over.
    static int serve(Clipboard &clipboard, const ClipboardContents &contents);
};

} // namespace glimra
