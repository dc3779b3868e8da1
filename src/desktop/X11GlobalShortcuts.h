#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QKeySequence>
#include <QObject>

#include <optional>

namespace glimra {

/// Shortcuts that work in every application: the keys are grabbed on the X11 root window
/// (with Num Lock and Caps Lock held or not) through Qt's own connection to the X server,
/// and a press is reported as activated(). A key that another program holds already
/// cannot be grabbed: grab() says so and the others go on working. Needs a
/// QGuiApplication on the xcb platform. Main thread only.
class X11GlobalShortcuts : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit X11GlobalShortcuts(QObject *parent = nullptr);
    ~X11GlobalShortcuts() override;

    /// Qt runs on an X server here (the xcb platform).
    static bool available();

    /// Grabs `sequence` (its first key combination) as shortcut `id`, in place of what `id`
    /// had. False, with the reason in `problem`, when it is empty, names no key this
    /// keyboard has, or another program holds it.
    bool grab(int id, const QKeySequence &sequence, QString *problem = nullptr);
    void release(int id);
    void releaseAll();


    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void activated(int id);

private:
    struct Grab
    {
        QList<quint8> keycodes;
        quint16 modifiers = 0;
    };
    bool grabKeys(const Grab &grab, QString *problem);
    void ungrabKeys(const Grab &grab);
    quint16 lockMasks() const;

    QHash<int, Grab> m_grabs;
    quint16 m_numLockMask = 0;
};

} // namespace glimra
