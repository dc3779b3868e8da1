#include "matching/FileObject.h"

#include "foundation/Paths.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace glimra {

QString FileObject::niceTitle() const
{
    return m_filePath.isNull() ? m_urlPath : basename(m_filePath);
}

QString FileObject::nicePath() const
{
    return m_filePath.isNull() ? m_urlPath : m_filePath;
}

QString FileObject::icon() const
{
    return file_icon(nicePath());
}

QString FileObject::identity() const
{
    if (!m_filePath.isNull())
        return m_line.isEmpty() ? u"path:"_s + m_filePath : u"path:"_s + m_filePath + u'\n' + m_line;
    if (!m_urlPath.isNull())
        return u"url:"_s + m_urlPath;
    return u"label:"_s + m_label;
}

QList<FileObject> FileObject::withoutRepeats(const QList<FileObject> &files)
{
    QList<FileObject> unique;
    QSet<QString> seen;
    seen.reserve(files.size());
    for (const FileObject &file : files) {
        const qsizetype before = seen.size();
        seen.insert(file.identity());
        if (seen.size() != before)
            unique.append(file);
    }
    return unique;
}

void FileObject::setValue(const QVariant &value, const QString &key)
{
    if (key == u"label"_s)
        m_label = value.toString();
    else if (key == u"urlPath"_s)
        m_urlPath = value.toString();
    else if (key == u"filePath"_s)
        m_filePath = value.toString();
    else if (key == u"line"_s)
        m_line = value.toString();
    else if (key == u"cdate"_s)
        m_cdate = value.toDateTime();
    // Any other key: setValue:forUndefinedKey: ignores it.
}

} // namespace glimra
