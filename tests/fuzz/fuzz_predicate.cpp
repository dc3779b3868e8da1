// The predicate parser: the exclusion filter a user types into the settings and the
// queries built from captured text. A text that parses is also evaluated.
#include "FuzzSupport.h"

#include "platform/Predicate.h"

#include <QDateTime>

using namespace glimra;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<Predicate> predicate =
        Predicate::predicateWithFormat(fuzz::text(data, size), &error);
    if (!predicate) {
        fuzz::check(!error.isEmpty(), "a refused predicate says why");
        return 0;
    }
    // A search hit as the exclusion filter sees it, plus values of the other kinds a
    // desktop-search item holds.
    static const QVariantMap item{
        {u"filename"_s, u"Main.C"_s},
        {u"dirname"_s, u"/home/u/proj/.git"_s},
        {u"path"_s, u"/home/u/proj/.git/Main.C"_s},
        {u"extension"_s, u"C"_s},
        {u"kMDItemDisplayName"_s, u"Résumé.txt"_s},
        {u"kMDItemFSSize"_s, 1200},
        {u"kMDItemContentModificationDate"_s, QDateTime::fromSecsSinceEpoch(1000, Qt::UTC)},
        {u"kMDItemKeywords"_s, QStringList{u"a"_s, u"b"_s}},
    };
    predicate->evaluateWithObject(item);
    predicate->evaluateWithObject({});
    predicate->requiredText(u"kMDItemDisplayName"_s);
    for (const QString &key : predicate->referencedKeys())
        predicate->requiredText(key);
    return 0;
}
