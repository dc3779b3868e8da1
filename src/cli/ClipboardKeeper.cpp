#include "cli/ClipboardKeeper.h"

#include "foundation/Log.h"
#include "desktop/X11Clipboard.h"

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
    // The keeper has taken over when we no longer own the clipboard.
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &loop,
                     [&](QClipboard::Mode mode) {
                         if (mode == QClipboard::Clipboard && !clipboard.isOwnedHere())
                             loop.quit();
                     });
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
