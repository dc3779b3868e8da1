#pragma once

#include <QString>

namespace glimra {

/// The program that owns org.glimra.Glimra on the session bus, as another Glimra finds it
/// before it hands a request over: whether it answers within AnswerSeconds (a short call
/// the resident application answers at once), which process it is and which display it
/// serves. A program that holds the name and never answers would otherwise hold every
/// command up for half a minute. Main thread.
struct BusPeer
{
    static constexpr int AnswerSeconds = 5;

    enum class State {
        NoBus,        ///< there is no session bus
        Absent,       ///< nobody owns the name
        Answers,      ///< it answers, and serves this display
        OtherDisplay, ///< it answers, but serves another display
        Hung,         ///< it does not answer
    };
    State state = State::NoBus;
    qint64 pid = 0;  ///< its process, when the bus knows it
    QString display; ///< the display it serves (OtherDisplay)

    /// Asks the owner, if any, which display it serves.
    static BusPeer find();
    /// Why it cannot be asked (Hung, OtherDisplay), for people; null otherwise.
    QString problem() const;
};

} // namespace glimra
