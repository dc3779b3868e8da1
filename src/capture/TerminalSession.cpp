#include "capture/TerminalSession.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <climits>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

struct ProcessStatus
{
    qint64 parent = 0;
    qint64 session = 0;
    quint64 terminal = 0;
    qint64 foregroundGroup = 0;
};

// After the name in parentheses (which may hold any character, so the last ")" ends it),
// a stat line's fields are: state, parent, group, session, terminal, the terminal's
// foreground group.
std::optional<ProcessStatus> status(qint64 pid)
{
    QFile file(u"/proc/%1/stat"_s.arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = file.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    const QList<QByteArray> fields = line.mid(nameEnd + 1).simplified().split(' ');
    if (nameEnd < 0 || fields.size() < 6)
        return std::nullopt;
    return ProcessStatus{fields[1].toLongLong(), fields[3].toLongLong(), fields[4].toULongLong(),
                         fields[5].toLongLong()};
}

// Unix 98 pseudo-terminals (/dev/pts/N) have the major device numbers 136 to 143.
bool isPseudoTerminal(quint64 device)
{
    const quint64 major = (device >> 8) & 0xfff;
    return major >= 136 && major <= 143;
}

// The children of `pid`, as each of its threads lists those it started; where the kernel
// keeps no such lists, every process, whose parents are then checked.
QList<qint64> childCandidates(qint64 pid)
{
    QList<qint64> children;
    const QString tasks = u"/proc/%1/task"_s.arg(pid);
    bool listed = false;
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks + u'/' + task + u"/children"_s);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        listed = true;
        for (const QByteArray &child : file.readAll().simplified().split(' ')) {
            if (!child.isEmpty())
                children.append(child.toLongLong());
        }
    }
    if (listed)
        return children;
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 candidate = entry.toLongLong(&number);
        if (number)
            children.append(candidate);
    }
    return children;
}

QString workingFolder(qint64 pid)
{
    char target[PATH_MAX];
    const QByteArray link = QFile::encodeName(u"/proc/%1/cwd"_s.arg(pid));
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    return length < 0 ? QString() : QFile::decodeName(QByteArray(target, length));
}

} // namespace

std::optional<TerminalSession> TerminalSession::of(qint64 pid)
{
    if (pid <= 0)
        return std::nullopt;
    for (const qint64 child : childCandidates(pid)) {
        const std::optional<ProcessStatus> process = status(child);
        if (process && process->parent == pid && process->session == child
            && isPseudoTerminal(process->terminal))
            return TerminalSession{child, process->foregroundGroup};
    }
    return std::nullopt;
}

QString TerminalSession::foregroundFolder() const
{
    const QString folder = workingFolder(foregroundGroup > 0 ? foregroundGroup : shell);
    return folder.isNull() ? workingFolder(shell) : folder;
}

} // namespace glimra
