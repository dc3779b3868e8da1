// A native Wayland window for the Wayland tests (run with QT_QPA_PLATFORM=wayland):
//   wayland_test_client --app-id ID --title TITLE [--clipboard HEX] [--primary HEX] [--stall MS]
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
    parser.addOptions({appId, title, clipboard, primary, stall});
    parser.process(application);
    QGuiApplication::setDesktopFileName(parser.value(appId));

    TestWindow window;
    if (parser.isSet(clipboard))
        window.clipboardText = QByteArray::fromHex(parser.value(clipboard).toLatin1());
    if (parser.isSet(primary))
        window.primaryText = QByteArray::fromHex(parser.value(primary).toLatin1());
    window.stall = parser.value(stall).toInt();
    window.setTitle(parser.value(title));
    window.resize(320, 200);
    window.show();
    say("shown " + QByteArray::number(QCoreApplication::applicationPid()));
    return application.exec();
}
