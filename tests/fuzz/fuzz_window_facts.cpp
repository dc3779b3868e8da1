// The facts of a window as its X11 properties hold them, which the window's own program
// writes as it likes.
#include "FuzzSupport.h"

#include "platform/WindowProperties.h"

using namespace glimra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView property(reinterpret_cast<const char *>(data), qsizetype(size));
    const WindowProperties::WindowClass facts = WindowProperties::windowClass(property);
    fuzz::check(!facts.instance.contains(QChar()) && !facts.name.contains(QChar()), "no text holds a NUL");
    // Each text is the bytes before its NUL, or before the end: never more.
    const qsizetype firstNul = property.indexOf('\0');
    const QByteArrayView first = firstNul < 0 ? property : property.first(firstNul);
    fuzz::check(facts.instance == QString::fromLocal8Bit(first), "the instance is the bytes before the first NUL");
    if (firstNul < 0 || firstNul + 1 >= property.size()) {
        fuzz::check(facts.name.isNull(), "a property without a second text has no class");
    } else {
        const QByteArrayView rest = property.sliced(firstNul + 1);
        const qsizetype secondNul = rest.indexOf('\0');
        fuzz::check(facts.name == QString::fromLocal8Bit(secondNul < 0 ? rest : rest.first(secondNul)),
                    "the class is the bytes between the first NUL and the next, or the end");
    }
    return 0;
}
