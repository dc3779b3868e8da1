#pragma once

#include <QVariantMap>

namespace glimra {

/// A dictionary shared by the guess controller and the results panel: the controller
/// marks a request in it ("do_follow_mouse"), the panel reads and clears the mark when it
/// is shown. One exists per program, owned by the assembly and handed to both.
/// Main thread only.
class GlobalContext
{
public:
    QVariantMap &content() { return m_content; }
    const QVariantMap &content() const { return m_content; }

private:
    QVariantMap m_content;
};

} // namespace glimra
