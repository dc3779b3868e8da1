#include "actions/CommandTemplate.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Adds the text between the single quote at `open` and the next one to `word`; the position
// of the closing quote, or -1 when there is none.
qsizetype readSingleQuoted(QStringView text, qsizetype open, QString &word)
{
    const qsizetype close = text.indexOf(u'\'', open + 1);
    if (close >= 0)
        word += text.sliced(open + 1, close - open - 1);
    return close;
}

// The same for double quotes, inside which a backslash quotes only "$", "`", "\"", "\" and a
// line break (which it removes); before anything else it is itself.
qsizetype readDoubleQuoted(QStringView text, qsizetype open, QString &word)
{
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            return i;
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (c == u'\\' && QStringView(u"$`\"\\\n").contains(next)) {
            if (next != u'\n')
                word += next;
            ++i;
        } else {
            word += c;
        }
    }
    return -1;
}

} // namespace

std::optional<CommandTemplate> CommandTemplate::parse(const QString &text)
{
    CommandTemplate command;
    QString word;
    bool inWord = false; // a quoted empty text ('' or "") is a word too
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size() && text[i + 1] == u'\n') { // the line goes on
            ++i;
        } else if (isBlank(c)) {
            if (inWord)
                command.m_words.append(std::exchange(word, QString()));
            inWord = false;
        } else {
            inWord = true;
            if (c == u'\'')
                i = readSingleQuoted(text, i, word);
            else if (c == u'"')
                i = readDoubleQuoted(text, i, word);
            else if (c != u'\\')
                word += c;
            else if (i + 1 < text.size())
                word += text[++i];
            else
                return std::nullopt;
            if (i < 0)
                return std::nullopt;
        }
    }
    if (inWord)
        command.m_words.append(word);
    return command;
}

bool CommandTemplate::contains(const QString &placeholder) const
{
    for (const QString &word : m_words) {
        if (word.contains(placeholder))
            return true;
    }
    return false;
}

QStringList CommandTemplate::expanded(const QHash<QString, QString> &values) const
{
    QStringList result;
    for (const QString &word : m_words) {
        QString filled;
        qsizetype done = 0;
        for (qsizetype open = word.indexOf(u'{'); open >= 0; open = word.indexOf(u'{', open + 1)) {
            const qsizetype close = word.indexOf(u'}', open);
            if (close < 0)
                break;
            const auto value = values.constFind(word.sliced(open, close - open + 1));
            if (value == values.constEnd())
                continue;
            filled += QStringView(word).sliced(done, open - done);
            filled += *value;
            done = close + 1;
            open = close;
        }
        filled += QStringView(word).sliced(done);
        result.append(filled);
    }
    return result;
}

} // namespace glimra
