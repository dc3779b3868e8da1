#pragma once

#include "platform/Predicate.h"
#include "platform/Settings.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace glimra {

/// The user's settings: one JSON object in $XDG_CONFIG_HOME/Glimra/defaults.json that a
/// user can read and edit by hand. Read whenever a value is needed, never cached: a guess
/// takes one snapshot() when it begins, so an edit applies to the next guess. Writes are
/// atomic and made under a lock file, so the application and a `glimra defaults write`
/// never lose each other's changes. A file that cannot be read, is not a regular file,
/// holds more than MaximumFileBytes or is not a JSON object reads as empty and is never
/// overwritten.
class UserDefaults
{
public:
    static constexpr qint64 MaximumFileBytes = 4 * 1024 * 1024;

    UserDefaults();
    explicit UserDefaults(QString filePath);
    virtual ~UserDefaults() = default;

    /// Every setting as it is now, in one read.
    Settings snapshot() const;

    static QString defaultFilePath();
    QString filePath() const { return m_filePath; }

    /// The stored value, or an undefined QJsonValue when absent.
    QJsonValue objectForKey(const QString &key) const;
    bool boolForKey(const QString &key) const;      ///< absent or not a boolean: false
    QString stringForKey(const QString &key) const; ///< absent or not a text: null
    QJsonObject dictionaryForKey(const QString &key) const;
    QJsonArray arrayForKey(const QString &key) const;

    /// The stored predicate text of `key` ("search_exclusion_filter") as a predicate;
    /// nullopt when absent or when it does not parse.
    std::optional<Predicate> unarchiveObjectForKey(const QString &key) const;

    /// Every stored entry; nullopt with a message when the file is unreadable or malformed.
    /// Every other read goes through it.
    virtual std::optional<QJsonObject> dictionaryRepresentation(QString *error = nullptr) const;

    /// The contents of a settings file: nullopt, with the reason in `why`, for anything
    /// but a readable regular file of at most MaximumFileBytes. Opened without blocking.
    static std::optional<QByteArray> readFile(const QString &filePath, QString *why = nullptr);

    /// The entries of a settings file's `contents`: empty for blank contents; nullopt with a
    /// message naming `filePath` when they are not one JSON object. Pure; any thread.
    static std::optional<QJsonObject> dictionaryFromData(const QByteArray &contents,
                                                         const QString &filePath,
                                                         QString *error = nullptr);

    /// Stores `value` under `key`. Refuses, with a message and nothing changed, a value of
    /// the wrong shape for a known key, and a file it could not read back whole.
    bool setObject(const QString &key, const QJsonValue &value, QString *error = nullptr);
    bool removeObjectForKey(const QString &key, QString *error = nullptr);

    /// A message when `value` does not fit the known key `key`; null when it fits or when
    /// the key is not one the program knows.
    static QString validate(const QString &key, const QJsonValue &value);
    /// A check of what only a higher layer can judge (a key sequence), made on every write
    /// with the settings as they are then; it answers why a value is refused, or null.
    using Validator = QString (*)(const QString &key, const QJsonValue &value, const QJsonObject &all);
    static void setValidator(Validator validator);
    /// Why `pattern` is no regular expression ("the regexp … does not compile: …");
    /// null when it compiles.
    static QString regexpProblem(const QString &pattern);

private:
    bool update(const QString &key, const std::optional<QJsonValue> &value, QString *error);

    QString m_filePath;
};

} // namespace glimra
