#include "platform/WindowProperties.h"

namespace glimra {

namespace {

// The text that begins at `from`, up to its NUL or the end; `from` moves past both.
QString nextText(QByteArrayView data, qsizetype &from)
{
    if (from >= data.size())
        return {};
    const qsizetype nul = data.indexOf('\0', from);
    const qsizetype end = nul < 0 ? data.size() : nul;
    const QString text = QString::fromLocal8Bit(data.sliced(from, end - from));
    from = end + 1;
    return text;
}

} // namespace

WindowProperties::WindowClass WindowProperties::windowClass(QByteArrayView wmClass)
{
    qsizetype from = 0;
    WindowClass result;
    result.instance = nextText(wmClass, from);
    result.name = nextText(wmClass, from);
    return result;
}

} // namespace glimra
