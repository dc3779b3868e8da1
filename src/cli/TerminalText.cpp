#include "cli/TerminalText.h"

#include <cerrno>

#include <unistd.h>

namespace glimra {

TerminalText::TerminalText(int fd) : m_fd(fd), m_terminal(::isatty(fd) == 1)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

QByteArray TerminalText::escaped(const QByteArray &bytes)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes.at(i));
        if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7f) {
            out.append("\\x").append(hex[c >> 4]).append(hex[c & 15]);
        } else if (c == 0xc2 && i + 1 < bytes.size() && uchar(bytes.at(i + 1)) >= 0x80
                   && uchar(bytes.at(i + 1)) <= 0x9f) {
            // U+0080 to U+009F: the 8-bit forms of ESC [ and the other C1 controls.
            const uchar code = uchar(bytes.at(++i));
            out.append("\\u00").append(hex[code >> 4]).append(hex[code & 15]);
        } else {
            out.append(char(c));
        }
    }
    return out;
}

qint64 TerminalText::readData(char *, qint64)
{
    return -1;
}

qint64 TerminalText::writeData(const char *data, qint64 size)
{
    if (!m_terminal || m_exact)
        return writeAll(QByteArray(data, size)) ? size : -1;
    QByteArray bytes = m_pending + QByteArray(data, size);
    m_pending.clear();
    if (bytes.endsWith('\xc2')) {
        m_pending = "\xc2";
        bytes.chop(1);
    }
    return writeAll(escaped(bytes)) ? size : -1;
}

bool TerminalText::writeAll(const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace glimra
