// URL parsing and path standardizing: selected text, file-search hits and plug-in output
// all pass through them.
#include "FuzzSupport.h"

#include "foundation/Paths.h"
#include "foundation/Url.h"

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

// The file URL of an absolute path gives the path back, with a "/" added for a folder.
void checkFileUrlRoundTrip(const QString &path)
{
    const Url url = Url::fileURLWithPath(path);
    const std::optional<Url> parsed = Url::URLWithString(url.absoluteString());
    fuzz::check(parsed && parsed->isFileURL(), "a file URL parses as a file URL");
    const QString back = parsed->path();
    fuzz::check(back == path || back == path + u'/', "a file URL gives its path back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::text(data, size);
    if (const std::optional<Url> url = Url::URLWithString(text)) {
        url->scheme();
        url->path();
        url->isFileURL();
    }
    if (text.startsWith(u'/'))
        checkFileUrlRoundTrip(text);
    const QString standardized = stringByStandardizingPath(text);
    fuzz::check(standardized.isNull() == text.isNull(), "only null standardizes to null");
    basename(text);
    dirname(text);
    basename_ext(text);
    expandPath(text);
    return 0;
}
