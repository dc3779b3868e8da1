#include "cli/ClipboardKeeper.h"

#include "foundation/Log.h"
#include "desktop/X11Clipboard.h"
#ifdef GLIMRA_HAS_WAYLAND
#include "desktop/WaylandDesktop.h"
#endif

#include <QClipboard>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
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
    // The keeper has taken over when we no longer own the clipboard: X11 says so through
    // Qt's clipboard, a Wayland compositor by cancelling our source, which is looked at.
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &loop,
                     [&](QClipboard::Mode mode) {
                         if (mode == QClipboard::Clipboard && !clipboard.isOwnedHere())
                             loop.quit();
                     });
    QTimer owned;
    QObject::connect(&owned, &QTimer::timeout, &loop, [&] {
        if (!clipboard.isOwnedHere())
            loop.quit();
    });
    owned.start(20);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    if (clipboard.isOwnedHere())
        loop.exec();
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
            clipboard->setContents(contents);
            // Another program took it over when the compositor cancelled our source.
            QTimer owned;
            QObject::connect(&owned, &QTimer::timeout, qApp, [clipboard] {
                if (!clipboard->isOwnedHere())
                    QCoreApplication::quit();
            });
            owned.start(200);
            return QCoreApplication::exec();
        }
    }
#endif
    X11Clipboard clipboard;
    clipboard.setContents(contents);
    QClipboard *system = QGuiApplication::clipboard();
    QObject::connect(system, &QClipboard::changed, qApp, [system](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !system->ownsClipboard())
            QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

} // namespace glimra
