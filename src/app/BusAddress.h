#pragma once

#include <QStringView>

namespace glimra {

/// Where the running application answers on the session bus. Apart from BusService, so that
/// a program that only calls it (the glimra command) links QtDBus and nothing of the service.
struct BusAddress
{
    static constexpr QStringView ServiceName = u"org.glimra.Glimra";
    static constexpr QStringView ObjectPath = u"/org/glimra/Glimra";
    static constexpr QStringView Interface = u"org.glimra.Glimra1";
};

} // namespace glimra
