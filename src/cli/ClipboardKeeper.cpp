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
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

void ClipboardKeeper::handOver(Clipboard &clipboard)
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

    QProcess keeper;
    keeper.setProgram(QCoreApplication::applicationFilePath());
    keeper.setArguments({u"clipboard-keeper"_s, file.fileName()});
    keeper.setStandardInputFile(QProcess::nullDevice());
    keeper.setStandardOutputFile(QProcess::nullDevice());
    keeper.setStandardErrorFile(QProcess::nullDevice());
    if (!keeper.startDetached()) {
        QFile::remove(file.fileName());
        return;
    }
    // The keeper has taken over when we no longer own the clipboard.
    QEventLoop loop;
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
