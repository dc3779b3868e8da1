#include "ui/ResultListController.h"

#include <QMimeData>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QString pathOrUrl(const FileObject &entry)
{
    return entry.filePath().isNull() ? entry.urlPath() : entry.filePath();
}

} // namespace

QMimeData *ResultListController::dragData(const QList<FileObject> &entries)
{
    auto *data = new QMimeData;
    if (entries.isEmpty())
        return data;
    QList<QUrl> urls;
    if (!entries.first().filePath().isNull()) {
        // A file list: the entries that are files (web addresses have no path to give).
        for (const FileObject &entry : entries) {
            if (!entry.filePath().isNull())
                urls.append(QUrl::fromLocalFile(entry.filePath()));
        }
    } else {
        urls.append(QUrl(entries.first().urlPath()));
    }
    data->setUrls(urls);
    data->setText(text(entries));
    return data;
}

QString ResultListController::text(const QList<FileObject> &entries)
{
    if (entries.size() == 1)
        return pathOrUrl(entries.first());
    QStringList lines;
    for (const FileObject &entry : entries) {
        const QString text = pathOrUrl(entry);
        if (!text.isNull())
            lines.append(text);
    }
    return lines.join(u'\n');
}

} // namespace glimra
