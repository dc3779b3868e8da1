// What a handler script prints: one JSON value of any kind.
#include "FuzzSupport.h"

#include "foundation/HandlerScript.h"

#include <QVariantMap>

using namespace glimra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QVariant result =
        parseSingleJsonValue(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    // The hosts read a record's entries and a list's items as texts.
    const QVariantMap record = result.toMap();
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        it.value().toString();
    for (const QVariant &item : result.toList())
        item.toString();
    return 0;
}
