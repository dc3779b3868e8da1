#pragma once

#include "matching/Context.h"

#include <QObject>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace glimra {

class AppDelegate;

/// A script's request to guess a file name, a URL or a text ("file_string", "url_string",
/// "text_string", with "app_name" the application it comes from). The file is guessed
/// first: its file names are the answer (ACT_FILENAMES as a list, else ACT_FILENAME); when
/// it has none, the URL is guessed and only its ACT_URL answers, else the text and its
/// ACT_TEXT. At most one guess per argument, each in its turn behind a guess that runs.
/// The answer is a text, a list of texts, or no value. Deletes itself once it has
/// answered. Main thread only.
class GuessCommand : public QObject
{
    Q_OBJECT
public:
    static const QStringList ArgumentKeys;

    GuessCommand(AppDelegate &delegate, QVariantMap arguments, QObject *parent = nullptr);

    /// Starts guessing; finished() follows, possibly before this returns.
    void performDefaultImplementation();

signals:
    void finished(const std::optional<QVariant> &value);

private:
    using Next = std::function<void(const std::optional<Context> &answer)>;
    void guess(const QString &key, const Next &next);
    void guessURLOrText();
    void answer(const std::optional<QVariant> &value);

    AppDelegate &m_delegate;
    QVariantMap m_arguments;
};

} // namespace glimra
