#pragma once

#include "platform/Predicate.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace glimra {

/// The user's settings as they were when a guess began: one read of the settings file,
/// handed to everything the guess reaches (the engine, the plug-in manager, the matchers,
/// the panel), so that a change made meanwhile applies from the next guess and a guess
/// never sees half of one. A plain value; an empty snapshot means every default.
class Settings
{
public:
    /// "capture_limit_mib": the most a capture reads of a selection or the clipboard, in
    /// MiB; a longer one is cut. A whole number from 1 to MaximumCaptureLimitMiB.
    static const QString CaptureLimitKey;
    static constexpr int DefaultCaptureLimitMiB = 8;
    /// Bounded so that a guess's answers fit on the session bus (128 MiB a message).
    static constexpr int MaximumCaptureLimitMiB = 16;

    /// "learn_action_order": whether the panel orders the actions by what the user picked
    /// before for the same kind of selection. On unless set to false.
    static const QString LearnActionOrderKey;

    Settings() = default;
    explicit Settings(QJsonObject values) : m_values(std::move(values)) {}

    /// The stored value, or an undefined QJsonValue when absent.
    QJsonValue objectForKey(const QString &key) const { return m_values.value(key); }
    bool boolForKey(const QString &key) const;      ///< absent or not a boolean: false
    QString stringForKey(const QString &key) const; ///< absent or not a text: null
    QJsonObject dictionaryForKey(const QString &key) const;
    QJsonArray arrayForKey(const QString &key) const;

    /// The predicate text stored under `key` ("search_exclusion_filter"); nullopt when
    /// absent, and, with a log line, when it does not parse.
    std::optional<Predicate> unarchiveObjectForKey(const QString &key) const;

    /// The capture limit in bytes: the default for a value absent or out of range.
    qsizetype captureLimitBytes() const;
    bool learnsActionOrder() const { return objectForKey(LearnActionOrderKey).toBool(true); }
    /// Whether `value` is a capture limit: a whole number of MiB in range.
    static bool isCaptureLimit(const QJsonValue &value);

    const QJsonObject &values() const { return m_values; }

private:
    QJsonObject m_values;
};

} // namespace glimra
