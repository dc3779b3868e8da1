#include "foundation/HandlerScript.h"

#include "foundation/ExitCleanup.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/ProcessRunner.h"
#include "foundation/ScriptFile.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QFile>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QTemporaryFile>

#include <mutex>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Snapshots carry the pid of the program that made them, so that one left behind by a
// program that was killed outright can be told apart and removed later.
QString snapshotPrefix()
{
    return u"glimra-script-"_s;
}

} // namespace

HandlerScript::~HandlerScript()
{
    if (m_snapshot)
        ExitCleanup::removeFile(m_snapshot->fileName());
}

void HandlerScript::removeStaleSnapshots()
{
    ExitCleanup::removeStaleFiles(QDir::tempPath(), snapshotPrefix());
}

std::shared_ptr<HandlerScript> HandlerScript::load(const QString &path, ProgramRunner &runner)
{
    QString why;
    const std::optional<QByteArray> read = ScriptFile::read(path, &why);
    if (!read) {
        qCDebug(lcFoundation).noquote() << u"%1 cannot be loaded: %2"_s.arg(path, why);
        return nullptr;
    }
    const QByteArray &contents = *read;
    if (!contents.startsWith("#!"))
        return nullptr;
    const qsizetype lineEnd = contents.indexOf('\n');
    const QString shebang = QString::fromUtf8(contents.mid(2, lineEnd < 0 ? -1 : lineEnd - 2))
                                .trimmed();
    if (shebang.isEmpty())
        return nullptr;

    std::shared_ptr<HandlerScript> script(new HandlerScript);
    script->m_path = path;
    script->m_runner = &runner;
    // As the kernel does: the interpreter, then the rest of the line as one argument.
    const qsizetype blank = shebang.indexOf(QRegularExpression(u"\\s"_s));
    script->m_interpreter = blank < 0 ? shebang : shebang.left(blank);
    if (blank >= 0)
        script->m_interpreterArgument = shebang.mid(blank).trimmed();

    // Swept once, before this program's first snapshot: a program that never loads a
    // script spends no time on the temporary folder.
    static std::once_flag swept;
    std::call_once(swept, &HandlerScript::removeStaleSnapshots);
    script->m_snapshot = std::make_unique<QTemporaryFile>(
        u"%1/%2%3-XXXXXX"_s.arg(QDir::tempPath(), snapshotPrefix()).arg(::getpid()));
    if (!script->m_snapshot->open())
        return nullptr;
    ExitCleanup::addFile(script->m_snapshot->fileName());
    if (script->m_snapshot->write(contents) != contents.size() || !script->m_snapshot->flush())
        return nullptr;
    script->m_snapshot->close();
    return script;
}

QVariant HandlerScript::call(const QString &handler, const QJsonArray &args,
                             QString *failure) const
{
    return call(handler, args, failure, nullptr);
}

QVariant HandlerScript::call(const QString &handler, const QJsonArray &args,
                             QString *failure, ScriptRun *run) const
{
    ProcessRequest request;
    request.program = m_interpreter;
    if (!m_interpreterArgument.isEmpty())
        request.arguments.append(m_interpreterArgument);
    request.arguments << m_snapshot->fileName() << handler;
    request.input = QJsonDocument(args).toJson(QJsonDocument::Compact);
    request.timeout = m_timeout;
    request.forwardStandardError = run == nullptr;
    request.keepEventLoopRunning = true;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The script runs from a private copy: tell it where its file really is, and where the
    // program's resources (the shared Perl helpers among them) are.
    environment.insert(u"GLIMRA_SCRIPT_FILE"_s, m_path);
    environment.insert(u"GLIMRA_RESOURCES"_s, appResourcesDir());
    // The program itself, for the commands scripts ask of it ("keys" on Wayland).
    if (QCoreApplication::instance() && !environment.contains(u"GLIMRA_PROGRAM"_s))
        environment.insert(u"GLIMRA_PROGRAM"_s, QCoreApplication::applicationFilePath());
    request.environment = environment.toStringList();

    const ProcessResult result = m_runner->run(request);
    if (run)
        *run = ScriptRun::from(result);
    if (!result.succeeded()) {
        const QString why = result.failureDescription();
        qCDebug(lcFoundation).noquote() << u"handler %1 of %2 failed: %3"_s.arg(handler, m_path, why);
        if (failure)
            *failure = why;
        return {};
    }
    bool malformed = false;
    const QVariant value = parseSingleJsonValue(result.standardOutput, &malformed);
    // The run still counts as done (an action may print what it likes), but an explanation
    // says so.
    if (run && malformed)
        run->ending = u"it exited with status 0 but printed something that is not one JSON value"_s;
    return value;
}

QVariant parseSingleJsonValue(const QByteArray &output, bool *malformed)
{
    if (malformed)
        *malformed = false;
    if (output.trimmed().isEmpty())
        return {};
    // QJsonDocument takes only an object or an array at the top level: wrap the output in
    // an array and accept exactly one element.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson('[' + output + ']', &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()
        || document.array().size() != 1) {
        if (malformed)
            *malformed = true;
        return {};
    }
    const QJsonValue value = document.array().first();
    if (value.isNull() || value.isUndefined())
        return {};
    return value.toVariant();
}

} // namespace glimra
