// A native Wayland window for the Wayland tests (run with QT_QPA_PLATFORM=wayland):
//   wayland_test_client --app-id ID --title TITLE [--clipboard HEX] [--primary HEX] [--stall MS]
//                       [--primary-size BYTES] [--terminal-in FOLDER]
// --primary-size puts that many bytes ("x") on the primary selection instead of --primary;
// --terminal-in runs a program on a pseudo-terminal of its own, in a session it leads and in
// that folder, as a terminal emulator runs its shell (it ends when the window does).
// At the first key pressed in it, it puts the given texts (hex-encoded, so that any bytes
// pass) on the clipboard and the primary selection: compositors accept a selection only
// with the serial of an input event, as a user's copy has. It reports on standard output, one
// line each (with --stall it hands the clipboard over only after that many milliseconds,
// its whole event loop stopped meanwhile, as a hung program would): "focus 1" / "focus 0", "clipboard-set", "primary-set", "key MODIFIERS KEY
// TEXT-HEX" for each key pressed, and "pasted HEX" with the clipboard's text on Ctrl+V.
#include <QClipboard>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QRasterWindow>
#include <QThread>

#include <cstdio>

#include <pty.h>
#include <unistd.h>

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Data that takes `stall` ms to produce.
class StallingData : public QMimeData
{
public:
    int stall = 0;

protected:
    QVariant retrieveData(const QString &type, QMetaType metaType) const override
    {
        QThread::msleep(stall);
        return QMimeData::retrieveData(type, metaType);
    }
};

class TestWindow : public QRasterWindow
{
public:
    QByteArray clipboardText;
    QByteArray primaryText;
    int stall = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(QRect(QPoint(), size()), QColor(0x30, 0x60, 0x90));
    }
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            const bool focused = event->type() == QEvent::FocusIn;
            say(focused ? "focus 1" : "focus 0");
        }
        return QRasterWindow::event(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        say("key " + QByteArray::number(int(event->modifiers())) + ' ' + QByteArray::number(event->key()) + ' '
            + event->text().toUtf8().toHex());
        setSelections();
        if (event->key() == Qt::Key_V && event->modifiers() == Qt::ControlModifier)
            say("pasted " + QGuiApplication::clipboard()->text().toUtf8().toHex());
    }

private:
    void setSelections()
    {
        auto set = [this](QByteArray &text, QClipboard::Mode mode, const char *done) {
            if (text.isNull())
                return;
            auto *data = new StallingData;
            data->stall = stall;
            data->setData(QStringLiteral("text/plain;charset=utf-8"), text);
            QGuiApplication::clipboard()->setMimeData(data, mode);
            text = QByteArray();
            say(done);
        };
        set(clipboardText, QClipboard::Clipboard, "clipboard-set");
        set(primaryText, QClipboard::Selection, "primary-set");
    }
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption appId(QStringLiteral("app-id"), QStringLiteral("app id"), QStringLiteral("id"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("title"), QStringLiteral("title"));
    const QCommandLineOption clipboard(QStringLiteral("clipboard"), QStringLiteral("hex"), QStringLiteral("hex"));
    const QCommandLineOption primary(QStringLiteral("primary"), QStringLiteral("hex"), QStringLiteral("hex"));
    const QCommandLineOption stall(QStringLiteral("stall"), QStringLiteral("ms"), QStringLiteral("ms"));
    const QCommandLineOption primarySize(QStringLiteral("primary-size"), QStringLiteral("bytes"), QStringLiteral("bytes"));
    const QCommandLineOption terminalIn(QStringLiteral("terminal-in"), QStringLiteral("folder"), QStringLiteral("folder"));
    parser.addOptions({appId, title, clipboard, primary, stall, primarySize, terminalIn});
    parser.process(application);
    if (parser.isSet(terminalIn)) {
        // The pseudo-terminal's other end closes with this process: the program gets SIGHUP.
        int master = -1;
        const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
        if (child == 0) {
            if (::chdir(parser.value(terminalIn).toLocal8Bit().constData()) == 0)
                ::execlp("sleep", "sleep", "600", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        if (child < 0)
            return 1;
    }
    QGuiApplication::setDesktopFileName(parser.value(appId));

    TestWindow window;
    if (parser.isSet(clipboard))
        window.clipboardText = QByteArray::fromHex(parser.value(clipboard).toLatin1());
    if (parser.isSet(primary))
        window.primaryText = QByteArray::fromHex(parser.value(primary).toLatin1());
    window.stall = parser.value(stall).toInt();
    if (parser.isSet(primarySize))
        window.primaryText = QByteArray(parser.value(primarySize).toLongLong(), 'x');
    window.setTitle(parser.value(title));
    window.resize(320, 200);
    window.show();
    say("shown " + QByteArray::number(QCoreApplication::applicationPid()));
    return application.exec();
}
