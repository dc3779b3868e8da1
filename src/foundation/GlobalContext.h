#pragma once

#include <QVariantMap>

namespace glimra {

/// A process-wide dictionary shared by the guess controller and the results panel
/// ("do_follow_mouse"). Main thread only.
class GlobalContext
{
public:
    static GlobalContext &sharedInstance();
    QVariantMap &content() { return m_content; }

private:
    GlobalContext() = default;
    QVariantMap m_content;
};

} // namespace glimra
