#pragma once

#include <QList>
#include <QProcess>
#include <QString>

#include <functional>
#include <memory>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace glimra {
class X11RunningApplications;
}

namespace glimra::bench {

/// Runs the event loop until `done` answers true or `milliseconds` have passed; whether it
/// answered true.
bool waitFor(const std::function<bool()> &done, int milliseconds);

/// An xterm whose shell waits in a folder and which holds a selection of its own: it owns
/// the PRIMARY selection (set through its selection escape sequence) as if the user had
/// selected the text in it. Killed when destroyed.
class SelectingXterm
{
public:
    SelectingXterm(const QString &folder, const QString &selection);
    ~SelectingXterm();

    /// Makes its window the active one, as a click on it would, and waits until the window
    /// manager says so. False when it never became active.
    bool activate();
    bool isActive() const;
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
    std::unique_ptr<X11RunningApplications> m_applications;
};

/// Key presses sent through the XTest extension, as the keyboard sends them.
class FakeKeyboard
{
public:
    FakeKeyboard();
    ~FakeKeyboard();
    /// Presses the keys (X keysyms) in order, then releases them in the reverse order.
    void type(const QList<quint32> &keysyms);

private:
    void send(quint8 type, quint32 keysym);

    xcb_connection_t *m_connection = nullptr;
    _XCBKeySymbols *m_symbols = nullptr;
};

} // namespace glimra::bench
