#pragma once

#include "matching/Context.h"

#include <chrono>
#include <memory>
#include <optional>

namespace glimra {

class Clipboard;
class ApplicationScripts;
class RunningApplications;
struct TextRead;

/// Gets the text the user has selected in the front-most application through the general
/// clipboard: saves what the clipboard holds, empties it, has the application's
/// selection script ("copy_selection") copy, reads the clipboard at once and each time it
/// changes until text arrives or CopyWait has passed (the event loop runs meanwhile; a
/// clipboard that reports no changes is read once more at the end), then puts the user's
/// clipboard back as it was. A built-in selection script that hands the selected text over
/// directly is asked first: then the clipboard is not touched. The script's argument
/// carries the facts of the application's front window (WindowFacts). Each read takes at
/// most the capture's limit of text and waits for the owner at most the clipboard's
/// deadline; a clipboard that cannot be saved whole is never emptied. Main thread only.
class CopySelection
{
public:
    /// The most a capture reads unless told otherwise.
    static constexpr qsizetype DefaultMaximumBytes = 8 * 1024 * 1024;
    /// How long the copy is waited for after the selection script asked for it.
    static constexpr std::chrono::milliseconds CopyWait{600};

    /// What a capture brought.
    struct Capture
    {
        /// CTX_TEXT alone; nullopt when nothing was selected or handed over.
        std::optional<Context> context;
        /// The text was longer than the limit: CTX_TEXT holds its first `cutAt` bytes
        /// (0: nothing was cut).
        qsizetype cutAt = 0;
        /// Why nothing was captured when the selection's owner did not hand it over (for
        /// people, "did not hand over its selection within 2 s"); null otherwise.
        QString failure;
        /// The same in the user's language, for a notification; null where `failure` is.
        QString shownFailure;

        /// What a notification says of the failure.
        QString failureShown() const { return shownFailure.isNull() ? failure : shownFailure; }
    };

    /// The application scripts and the running applications (may be null: no window facts)
    /// are not owned and must outlive the copier.
    CopySelection(const ApplicationScripts *applicationScripts,
                  std::shared_ptr<Clipboard> clipboard,
                  const RunningApplications *runningApplications = nullptr);
    virtual ~CopySelection() = default;

    /// The capture of the copied selection, at most `maximumBytes` of UTF-8.
    virtual Capture contextForApp(const QString &windowClass,
                                  qsizetype maximumBytes = DefaultMaximumBytes);
    /// The capture of the text `clipboard` holds now; nothing is written or waited for
    /// but its owner.
    Capture clipboard(const Clipboard &clipboard, const QString &windowClass,
                      qsizetype maximumBytes = DefaultMaximumBytes);


private:
    static std::optional<Context> capture(const QString &text);
    static Capture captureOf(const TextRead &read, qsizetype maximumBytes);
    Capture waitForCopy(qsizetype maximumBytes) const;

    const ApplicationScripts *m_applicationScripts;
    std::shared_ptr<Clipboard> m_clipboard;
    const RunningApplications *m_runningApplications;
};

} // namespace glimra
