#include "app/GuessCommand.h"

#include "app/AppDelegate.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString FileString = u"file_string"_s;
const QString URLString = u"url_string"_s;
const QString TextString = u"text_string"_s;
const QString AppName = u"app_name"_s;

// The answer's value under `key`, as a text; nullopt when it has none.
std::optional<QVariant> valueOf(const std::optional<Context> &answer, const QString &key)
{
    if (!answer || !answer->contains(key))
        return std::nullopt;
    return QVariant(answer->value(key));
}

} // namespace

const QStringList GuessCommand::ArgumentKeys = {FileString, URLString, TextString, AppName};

GuessCommand::GuessCommand(AppDelegate &delegate, QVariantMap arguments, QObject *parent)
    : QObject(parent), m_delegate(delegate), m_arguments(std::move(arguments))
{
}

void GuessCommand::performDefaultImplementation()
{
    if (!m_arguments.contains(FileString))
        return guessURLOrText();
    guess(FileString, [this](const std::optional<Context> &answer) {
        if (answer && answer->contains(ACT_FILENAMES))
            return this->answer(QVariant(answer->value(ACT_FILENAMES).split(u'\n')));
        if (answer && answer->contains(ACT_FILENAME))
            return this->answer(valueOf(answer, ACT_FILENAME));
        guessURLOrText();
    });
}

void GuessCommand::guessURLOrText()
{
    // A URL, when given, is the only other thing guessed: no ACT_URL means no value.
    if (m_arguments.contains(URLString))
        return guess(URLString, [this](const std::optional<Context> &answer) { this->answer(valueOf(answer, ACT_URL)); });
    if (m_arguments.contains(TextString))
        return guess(TextString, [this](const std::optional<Context> &answer) { this->answer(valueOf(answer, ACT_TEXT)); });
    answer(std::nullopt);
}

void GuessCommand::guess(const QString &key, const Next &next)
{
    m_delegate.handleGuessText(m_arguments.value(key).toString(), m_arguments.value(AppName).toString(), false,
                               next);
}

void GuessCommand::answer(const std::optional<QVariant> &value)
{
    emit finished(value);
    deleteLater();
}

} // namespace glimra
