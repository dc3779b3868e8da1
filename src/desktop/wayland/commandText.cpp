#include "commandText.h"

#include "foundation/Shell.h"

#include <QRegularExpression>

namespace glimra {

QString commandText(const QStringList &command)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_/.:=@%+,-]+$"));
    QStringList words;
    for (const QString &word : command)
        words << (plain.match(word).hasMatch() ? word : shellQuote(word));
    return words.join(QLatin1Char(' '));
}

} // namespace glimra
