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

Phrase Phrase::of(const char *context, const char *source, const QList<Phrase> &arguments)
{
    QStringList english, users;
    for (const Phrase &argument : arguments) {
        english.append(argument.english);
        users.append(argument.users);
    }
    return {wording(Language::English, context, source, english), wording(Language::Users, context, source, users)};
}

Phrase Phrase::joined(const QList<Phrase> &items, const char *context, const char *separator)
{
    Phrase whole;
    const Phrase between = of(context, separator);
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0) {
            whole.english += between.english;
            whole.users += between.users;
        }
        whole.english += items.at(i).english;
        whole.users += items.at(i).users;
    }
    return whole;
}

} // namespace glimra
