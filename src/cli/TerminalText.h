#pragma once

#include <QIODevice>

namespace glimra {

/// Standard output or standard error as the command line writes to them. When it is a
/// terminal, control characters other than the line break and the tab are written escaped
/// ("\x1b", "\u009b"): a selection, a window title or a plug-in's output could otherwise
/// drive the terminal (set its title, move the cursor, answer back). Elsewhere (a pipe, a
/// file), and while exact() is set (JSON, which escapes what it must itself), every byte
/// passes unchanged.
class TerminalText : public QIODevice
{
public:
    /// Writes to the file descriptor `fd`, which it does not own.
    explicit TerminalText(int fd);

    bool isTerminal() const { return m_terminal; }
    void setExact(bool exact) { m_exact = exact; }

    /// `bytes` (UTF-8) with the control characters escaped.
    static QByteArray escaped(const QByteArray &bytes);

protected:
    qint64 readData(char *data, qint64 maximumSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool writeAll(const QByteArray &bytes);

    int m_fd;
    bool m_terminal;
    bool m_exact = false;
    QByteArray m_pending; // a lead byte of a control character split between two writes
};

} // namespace glimra
