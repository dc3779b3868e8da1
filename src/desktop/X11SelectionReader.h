#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDeadlineTimer>
#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace glimra {

/// Reads an X11 selection (PRIMARY, CLIPBOARD) from the program that owns it, on a
/// connection to the X server of its own, without ever waiting on that program: the
/// transfer runs on the event loop, large ones in pieces (INCR) included, and ends at its
/// deadline whatever the owner does. At most the given number of bytes is kept; the rest
/// is never read. Each transfer has a window of its own, so that a late answer to one
/// that was given up cannot reach another. Main thread only.
class X11SelectionReader : public QObject
{
    Q_OBJECT
public:
    /// How a transfer ended.
    struct Data
    {
        QByteArray bytes;       ///< what was read (null when nothing was)
        QByteArray target;      ///< the target the owner answered
        QByteArray type;        ///< the type it gave the data (an atom's name)
        bool found = false;     ///< the owner handed data over
        bool cut = false;       ///< it handed more than the limit: `bytes` is the beginning
        bool timedOut = false;  ///< it did not finish before the deadline (`bytes` is null)
    };
    using Done = std::function<void(const Data &)>;

    /// Connects to $DISPLAY; null when there is no display.
    static std::unique_ptr<X11SelectionReader> connect(QObject *parent = nullptr);
    ~X11SelectionReader() override;

    /// Asks the owner of `selection` ("PRIMARY", "CLIPBOARD") for the first of `targets`
    /// it can give ("UTF8_STRING", "TARGETS", a MIME type); `done` hears once how it
    /// ended, never before this call returns. Returns the transfer's identity.
    quint32 read(const QByteArray &selection, const QByteArrayList &targets, qsizetype maximumBytes,
                 QDeadlineTimer deadline, Done done);
    /// Ends a transfer without telling its `done`.
    void cancel(quint32 transfer);

    /// read(), waiting for the end with the event loop running. A transfer the event loop
    /// was left during (the application quits) ends as timed out.
    Data readAndWait(const QByteArray &selection, const QByteArrayList &targets, qsizetype maximumBytes,
                     QDeadlineTimer deadline);

    /// The names of the atoms in a TARGETS answer (a list of 32-bit atoms).
    QByteArrayList atomNames(const QByteArray &atoms);

    struct Connection;
    struct Transfer;

private:
    explicit X11SelectionReader(std::unique_ptr<Connection> connection, QObject *parent);
    void readEvents();
    void handleEvent(const void *event);
    void askForNextTarget(Transfer &transfer);
    void takeProperty(Transfer &transfer);
    void takeIncrementalPiece(Transfer &transfer);
    void finish(quint32 transfer, Data data);
    Transfer *transferOf(quint32 window);
    quint32 idOf(const Transfer &transfer) const;

    std::unique_ptr<Connection> d;
    QSocketNotifier *m_notifier = nullptr;
    std::map<quint32, std::unique_ptr<Transfer>> m_transfers;
    quint32 m_lastTransfer = 0;
};

} // namespace glimra
