// The settings file, which users edit by hand.
#include "FuzzSupport.h"

#include "platform/UserDefaults.h"

#include <QJsonDocument>

using namespace glimra;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray contents(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString file = u"defaults.json"_s;
    QString error;
    const std::optional<QJsonObject> settings = UserDefaults::dictionaryFromData(contents, file, &error);
    if (!settings) {
        fuzz::check(!error.isEmpty(), "an unreadable file is reported");
        return 0;
    }
    for (auto it = settings->begin(); it != settings->end(); ++it)
        UserDefaults::validate(it.key(), it.value());
    // Every change writes the whole object back: the entries the change did not touch must
    // read back as they were.
    const QByteArray written = QJsonDocument(*settings).toJson(QJsonDocument::Indented);
    fuzz::check(UserDefaults::dictionaryFromData(written, file) == settings,
                "the settings read back as they were written");
    return 0;
}
