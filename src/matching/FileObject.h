#pragma once

#include "foundation/Url.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace glimra {

/// One entry of the result file list: a file or folder a matcher named, a web address a
/// matcher found, or a hit of the desktop search. A plain value.
class FileObject
{
public:
    QString label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    /// The entry as URL text; null for a line that is not a valid URL.
    QString urlPath() const { return m_urlPath; }
    void setUrlPath(const QString &urlPath) { m_urlPath = urlPath; }
    /// The absolute path; null for web addresses.
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &filePath) { m_filePath = filePath; }
    /// The place in the file a trace named: the line, with ":" and the column where the
    /// trace gave one ("214", "3:5"); empty for a file named without a line.
    QString line() const { return m_line; }
    void setLine(const QString &line) { m_line = line; }
    /// The two parts of line(): the line number, and the column (empty when none).
    QString lineNumber() const { return m_line.section(u':', 0, 0); }
    QString column() const { return m_line.section(u':', 1, 1); }
    /// The content change date of a desktop-search hit; invalid otherwise.
    QDateTime cdate() const { return m_cdate; }
    void setCdate(const QDateTime &cdate) { m_cdate = cdate; }

    /// The last path component of filePath, else urlPath.
    QString niceTitle() const;
    /// filePath, else urlPath.
    QString nicePath() const;
    /// The icon name for filePath, else for urlPath.
    QString icon() const;

    /// Sets one of the five properties by name; an unknown key is silently ignored.
    void setValue(const QVariant &value, const QString &key);

    bool operator==(const FileObject &) const = default;

    /// What makes two entries one: the path with its line (a file at two lines is two
    /// entries), else the URL, else the label.
    QString identity() const;
    /// `files` with each entry once, where it first appears. Linear.
    static QList<FileObject> withoutRepeats(const QList<FileObject> &files);

private:
    QString m_label;
    QString m_urlPath;
    QString m_filePath;
    QString m_line;
    QDateTime m_cdate;
};

} // namespace glimra
