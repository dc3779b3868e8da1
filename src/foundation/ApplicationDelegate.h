#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

namespace glimra {

/// The base of the application delegate: a shared dictionary of application state
/// (applicationContext) and the hook called whenever another application becomes active.
/// Main thread only.
class ApplicationDelegate : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QVariantMap &applicationContext() { return m_applicationContext; }
    const QVariantMap &applicationContext() const { return m_applicationContext; }

public slots:
    /// Another application became active; either text may be null.
    virtual void applicationFocusDidChange(const QString &windowClass,
                                           const QString &name);

private:
    QVariantMap m_applicationContext;
};

} // namespace glimra
