#include "foundation/Wording.h"

#include <QCoreApplication>

namespace glimra {

QString wording(Language language, const char *context, const char *source, const QStringList &arguments)
{
    const QString text = language == Language::Users ? QCoreApplication::translate(context, source)
                                                     : QString::fromUtf8(source);
    // In one pass: an argument that holds "%2" itself (a file name) is not filled in turn.
    QString filled;
    filled.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int number = i + 1 < text.size() ? text.at(i + 1).digitValue() : -1;
        if (text.at(i) == u'%' && number >= 1 && number <= arguments.size()) {
            filled += arguments.at(number - 1);
            ++i;
        } else {
            filled += text.at(i);
        }
    }
    return filled;
}

} // namespace glimra
