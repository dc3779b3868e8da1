#include "capture/CopySelection.h"

#include "capture/WindowFacts.h"
#include "foundation/ApplicationScripts.h"
#include "foundation/Log.h"
#include "foundation/Wording.h"
#include "platform/Clipboard.h"

using namespace Qt::StringLiterals;

namespace glimra {

CopySelection::CopySelection(const ApplicationScripts *applicationScripts,
                             std::shared_ptr<Clipboard> clipboard,
                             const RunningApplications *runningApplications)
    : m_applicationScripts(applicationScripts),
      m_clipboard(std::move(clipboard)),
      m_runningApplications(runningApplications)
{
}

std::optional<Context> CopySelection::capture(const QString &text)
{
    if (text.isNull() || text == u""_s || text == u"null"_s || text == u"(null)"_s)
        return std::nullopt;
    return Context{{CTX_TEXT, text}};
}

namespace {

// Why a capture has nothing when the owner kept its selection to itself.
const char *const NotHandedOver =
    QT_TRANSLATE_NOOP("glimra::CopySelection", "did not hand over its selection within %1 s");
const char *const NotKept =
    QT_TRANSLATE_NOOP("glimra::CopySelection", "could not be asked to copy: the clipboard cannot be kept (%1)");

// Nothing captured, and why: in English for the command line, and in the user's language.
CopySelection::Capture failed(const char *why, const QString &argument)
{
    return {std::nullopt, 0, wording(Language::English, "glimra::CopySelection", why, {argument}),
            wording(Language::Users, "glimra::CopySelection", why, {argument})};
}

} // namespace

CopySelection::Capture CopySelection::captureOf(const TextRead &read, qsizetype maximumBytes)
{
    if (read.timedOut)
        return failed(NotHandedOver, QString::number(Clipboard::ReadDeadlineSeconds));
    std::optional<Context> context = capture(read.text);
    const qsizetype cutAt = context && read.cut ? maximumBytes : 0;
    return {std::move(context), cutAt, {}, {}};
}

CopySelection::Capture CopySelection::contextForApp(const QString &windowClass, qsizetype maximumBytes)
{
    const QString scriptName =
        u"%1-selection"_s.arg(windowClass.isNull() ? u"(null)"_s : windowClass);
    std::shared_ptr<ApplicationScript> script = m_applicationScripts->find(scriptName);
    if (!script)
        script = m_applicationScripts->find(ApplicationScripts::DefaultSelection);
    const QJsonArray arguments = WindowFacts::ofApplication(m_runningApplications, windowClass)
                                     .arguments(windowClass);
    if (script) {
        if (const std::optional<TextRead> direct = script->selectionWithoutClipboard(arguments, maximumBytes)) {
            Capture handed = captureOf(*direct, maximumBytes);
            if (handed.context || !handed.failure.isNull())
                return handed;
        }
    }

    // Whatever the user had copied is kept and put back afterwards: the copy below would
    // otherwise lose it for good. What cannot be kept whole is not emptied.
    QString why;
    const std::optional<ClipboardContents> saved = m_clipboard->wholeContents(&why);
    if (!saved) {
        qCInfo(lcCapture).noquote() << u"the clipboard cannot be kept (%1): no copy is asked for"_s.arg(why);
        return failed(NotKept, why);
    }
    m_clipboard->setText(u""_s);
    if (script)
        script->call(u"copy_selection"_s, arguments);
    Capture copied = waitForCopy(maximumBytes);
    m_clipboard->setContents(*saved);
    return copied;
}

CopySelection::Capture CopySelection::waitForCopy(qsizetype maximumBytes) const
{
    // Read at once, then each time the clipboard changes, and once more at the deadline.
    const QDeadlineTimer deadline(CopyWait);
    while (true) {
        const Capture copied = captureOf(m_clipboard->readText(maximumBytes), maximumBytes);
        if (copied.context || !copied.failure.isNull())
            return copied;
        if (deadline.hasExpired())
            break;
        m_clipboard->waitForChange(deadline);
    }
    qCInfo(lcCapture).noquote() << u"no data in the clipboard"_s;
    return {};
}

CopySelection::Capture CopySelection::clipboard(const Clipboard &clipboard, const QString &,
                                                qsizetype maximumBytes)
{
    return captureOf(clipboard.readText(maximumBytes), maximumBytes);
}

} // namespace glimra
