#pragma once

#include <QStringList>

namespace glimra {

/// glimra guess [--json]      guesses the front-most application's selection
/// glimra clipboard [--json]  guesses the clipboard
/// glimra service [--json]    guesses the text on standard input as a Services request
/// Exit status 0 when something matched, 1 when nothing matched or the guess stopped,
/// NoDisplay when there is no X display to capture from.
class CaptureCommand
{
public:
    static constexpr int NoDisplay = 5;

    static int run(const QString &verb, const QStringList &arguments, bool withDisplay);
};

} // namespace glimra
