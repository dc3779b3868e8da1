#include "cli/ClipboardKeeper.h"

#include "foundation/Log.h"
#include "desktop/ClipboardPasteboard.h"

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

void ClipboardKeeper::handOver(Pasteboard &clipboard)
{
    if (!clipboard.ownsClipboard())
        return;
    const PasteboardContents contents = clipboard.contents();
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
                         if (mode == QClipboard::Clipboard && !clipboard.ownsClipboard())
                             loop.quit();
                     });
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    if (clipboard.ownsClipboard())
        loop.exec();
}

int ClipboardKeeper::run(const QString &contentsFile)
{
    QFile file(contentsFile);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    PasteboardContents contents;
    QDataStream stream(&file);
    stream >> contents;
    file.close();
    QFile::remove(contentsFile);
    if (stream.status() != QDataStream::Ok)
        return 1;

    ClipboardPasteboard clipboard;
    clipboard.setContents(contents);
    QClipboard *system = QGuiApplication::clipboard();
    QObject::connect(system, &QClipboard::changed, qApp, [system](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !system->ownsClipboard())
            QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

} // namespace glimra
