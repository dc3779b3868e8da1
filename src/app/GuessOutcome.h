#pragma once

#include <QString>
#include <QtGlobal>

namespace glimra {

/// How one guess ended, as every caller of the guess controller hears it.
struct GuessOutcome
{
    enum class Ending {
        Finished,       ///< the guess ran: its results are the controller's state now
        NoContext,      ///< no application is active (nothing changed)
        EmptySelection, ///< nothing was selected and there was nothing to fall back on
        NoText,         ///< the clipboard or the Services request held no text
        Dropped,        ///< a newer request arrived while it waited: it never ran
        NotHandedOver,  ///< the selection's owner did not hand it over in time
    };

    quint64 guess = 0;
    Ending ending = Ending::Finished;
    /// Something matched (the matched context is not empty). Only when Finished.
    bool matched = false;
    /// A desktop search this guess started is still gathering: more files may come.
    bool searching = false;
    /// The captured text was longer than the capture limit: the guess saw its first
    /// `cutAt` bytes (0: nothing was cut).
    qsizetype cutAt = 0;
    /// Why it stopped, as the user was told: "no context", "no application is active".
    QString title;
    QString description;

    bool finished() const { return ending == Ending::Finished; }
};

} // namespace glimra
