#include "cli/ClipboardKeeper.h"

#include "foundation/Log.h"
#include "desktop/X11Clipboard.h"
#ifdef GLIMRA_HAS_WAYLAND
#include "desktop/WaylandDesktop.h"
#endif

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTemporaryFile>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace glimra {

void ClipboardKeeper::handOver(Clipboard &clipboard, ProgramRunner &runner)
{
    if (!clipboard.isOwnedHere())
        return;
    const ClipboardContents contents = clipboard.contents();
    if (contents.isEmpty())
        return;

    QTemporaryFile file(QDir::tempPath() + u"/glimra-clipboard-XXXXXX"_s);
    file.setAutoRemove(false); // the keeper removes it once read
    if (!file.open())
        return;
    QDataStream stream(&file);
    stream << contents;
    file.close();

    // The keeper outlives us: it is launched (a session of its own, released, never killed).
    // A launch that fails, now or later, removes the contents it would have read.
    const QString contentsFile = file.fileName();
    auto failed = std::make_shared<bool>(false);
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    runner.launch(QCoreApplication::applicationFilePath(), {u"clipboard-keeper"_s, contentsFile}, {},
                  [failed, waiting, contentsFile](const Outcome &outcome) {
                      if (outcome.ok)
                          return;
                      QFile::remove(contentsFile);
                      *failed = true;
                      if (waiting)
                          waiting->quit();
                  });
    if (*failed)
        return;
    // The keeper has taken over when we no longer own the clipboard: the X server or the
    // compositor (cancelling our source) says so.
    clipboard.whenOwnershipLost(&loop, [&loop] { loop.quit(); });
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    if (clipboard.isOwnedHere())
        loop.exec();
}

int ClipboardKeeper::serve(Clipboard &clipboard, const ClipboardContents &contents)
{
    clipboard.setContents(contents);
    // Another program took the clipboard over: the keeper's work is done.
    clipboard.whenOwnershipLost(qApp, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

int ClipboardKeeper::run(const QString &contentsFile)
{
    QFile file(contentsFile);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    ClipboardContents contents;
    QDataStream stream(&file);
    stream >> contents;
    file.close();
    QFile::remove(contentsFile);
    if (stream.status() != QDataStream::Ok)
        return 1;

#ifdef GLIMRA_HAS_WAYLAND
    // In a Wayland session the compositor's clipboard, where it lets a program own it: an
    // X11 one would reach native windows only while an Xwayland window has the focus.
    if (const std::unique_ptr<WaylandDesktop> wayland = WaylandDesktop::connect()) {
        if (const std::shared_ptr<Clipboard> clipboard = wayland->clipboard()) {
            return serve(*clipboard, contents);
        }
    }
#endif
    X11Clipboard clipboard;
    return serve(clipboard, contents);
}

} // namespace glimra
