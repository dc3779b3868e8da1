#pragma once

#include "foundation/ApplicationScript.h"
#include "foundation/ProgramRunner.h"
#include "foundation/ScriptRun.h"

#include <chrono>
#include <memory>

class QTemporaryFile;

namespace glimra {

/// A script whose handlers are called by name: the program's counterpart of a compiled
/// script. It is a file whose first line is "#!" followed by its interpreter. Loading reads
/// the whole file into memory, so the loaded script is a snapshot: edits to the file take
/// effect only when it is loaded again.
///
/// Calling handler H runs the snapshot with the single argument H, writes the arguments to
/// its standard input as one JSON array and reads one JSON value from its standard output.
/// Shared by every holder (a plug-in prototype and the actions it offered).
class HandlerScript : public ApplicationScript
{
public:
    ~HandlerScript() override;

    /// The loaded script, or null when the file cannot be read, is empty or has no "#!"
    /// line. Never reports an error. Its calls run through `runner`, which must outlive it.
    static std::shared_ptr<HandlerScript> load(const QString &path,
                                               ProgramRunner &runner = ProgramRunner::standard());

    /// Calls `handler` with `args` (dictionaries as JSON objects of strings, lists as
    /// arrays, texts as strings). The result is a QVariantMap for a JSON object, a
    /// QVariantList for an array, a QString for a string. An invalid QVariant (nil) for
    /// empty output, null, output that is not one JSON value, a non-zero exit status, a
    /// script that cannot run or one that overran the time bound (it is killed). When the
    /// script did not run to a normal end with status 0, `failure` (if given) says why.
    QVariant call(const QString &handler, const QJsonArray &args,
                  QString *failure = nullptr) const override;
    /// The same; what the script writes to standard error is kept in `run`, with how it
    /// ended, instead of being passed on.
    QVariant call(const QString &handler, const QJsonArray &args, QString *failure,
                  ScriptRun *run) const;

    /// Removes the snapshots that programs killed outright left in the temporary folder.
    /// The first load of a program does it.
    static void removeStaleSnapshots();

    QString path() const { return m_path; }
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

private:
    HandlerScript() = default;

    QString m_path;
    ProgramRunner *m_runner = nullptr;
    QString m_interpreter;
    QString m_interpreterArgument;
    std::unique_ptr<QTemporaryFile> m_snapshot;
    std::chrono::milliseconds m_timeout{std::chrono::seconds(5)};
};

/// Parses `output` as exactly one JSON value of any kind (the top level may be a string).
/// Returns an invalid QVariant for anything else and for null. `malformed`, when given, says
/// whether the output was something else than one JSON value or nothing but white space.
QVariant parseSingleJsonValue(const QByteArray &output, bool *malformed = nullptr);

} // namespace glimra
