#include "desktop/X11Clipboard.h"

#include "desktop/SelectionRequestWatch.h"
#include "desktop/X11SelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

const QString PlainText = u"text/plain"_s;

// Targets that ask the owner to do something rather than hand data over (ICCCM).
bool isRequestTarget(const QByteArray &target)
{
    static const QByteArrayList requests = {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS",
                                            "DELETE", "INSERT_SELECTION", "INSERT_PROPERTY"};
    return requests.contains(target);
}

// The format a target stands for, named as Qt names it, so that what is put back through
// QClipboard is offered under the same targets.
QString formatOf(const QByteArray &target)
{
    if (target == "UTF8_STRING" || target == "STRING" || target == "TEXT")
        return PlainText;
    if (target == "PIXMAP")
        return u"image/ppm"_s;
    if (target == "text/x-moz-url")
        return u"text/uri-list"_s;
    return QString::fromLatin1(target);
}

// The targets that give a format, best first.
QByteArrayList targetsOf(const QString &format)
{
    if (format == PlainText)
        return {"UTF8_STRING", "STRING", "TEXT"};
    return {format.toLatin1()};
}

// A text target's data as a text: STRING is Latin-1 (ICCCM), the others UTF-8.
TextRead textOf(const X11SelectionReader::Data &data, qsizetype maximumBytes)
{
    if (data.type == "STRING") {
        TextRead read = TextRead::of(QString::fromLatin1(data.bytes), maximumBytes);
        read.cut = read.cut || data.cut;
        return read;
    }
    return TextRead::fromUtf8(data.bytes, maximumBytes, data.cut);
}

QDeadlineTimer readDeadline()
{
    return QDeadlineTimer(std::chrono::seconds(Clipboard::ReadDeadlineSeconds));
}

QString notHandedOver()
{
    return u"its owner did not hand it over within %1 s"_s.arg(Clipboard::ReadDeadlineSeconds);
}

} // namespace

X11Clipboard::X11Clipboard(QClipboard::Mode mode) : m_mode(mode)
{
    // Without a display there is no QGuiApplication, and nothing changes.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        m_watch = QObject::connect(clipboard(), &QClipboard::changed, [this](QClipboard::Mode changedMode) {
            if (changedMode == m_mode)
                changed();
        });
    }
}

X11Clipboard::~X11Clipboard()
{
    QObject::disconnect(m_watch);
}

X11SelectionReader *X11Clipboard::reader() const
{
    if (!m_reader)
        m_reader = X11SelectionReader::connect();
    return m_reader.get();
}

QByteArray X11Clipboard::selectionName() const
{
    return m_mode == QClipboard::Selection ? QByteArray("PRIMARY") : QByteArray("CLIPBOARD");
}

QStringList X11Clipboard::formatsOffered(QDeadlineTimer deadline, bool *timedOut) const
{
    QStringList formats;
    X11SelectionReader *selections = reader();
    if (!selections)
        return formats;
    const X11SelectionReader::Data targets =
        selections->readAndWait(selectionName(), {"TARGETS"}, 64 * 1024, deadline);
    *timedOut = targets.timedOut;
    for (const QByteArray &target : selections->atomNames(targets.bytes)) {
        const QString format = formatOf(target);
        if (!target.isEmpty() && !isRequestTarget(target) && !formats.contains(format))
            formats.append(format);
    }
    return formats;
}

void X11Clipboard::publish(QMimeData *data)
{
    clipboard()->setMimeData(data, m_mode);
}

void X11Clipboard::setTypes(const QStringList &types)
{
    m_declared.clear();
    if (types.isEmpty()) {
        // Nothing to serve: owning an empty clipboard would only keep a keeper alive.
        clipboard()->clear(m_mode);
        return;
    }
    for (const QString &type : types)
        m_declared.append({type, QByteArray("")});
    auto *data = new QMimeData;
    for (const auto &[type, bytes] : std::as_const(m_declared))
        data->setData(type, bytes);
    publish(data);
}

bool X11Clipboard::setData(const QByteArray &data, const QString &type)
{
    bool declared = false;
    for (auto &entry : m_declared) {
        if (entry.first == type) {
            entry.second = data;
            declared = true;
        }
    }
    if (!declared)
        return false;
    // QClipboard takes a whole QMimeData: publish everything declared so far again.
    auto *mime = new QMimeData;
    for (const auto &[declaredType, bytes] : std::as_const(m_declared)) {
        mime->setData(declaredType, bytes);
        // Programs that ask for plain text by its short name get the same bytes.
        if (declaredType == TextType)
            mime->setText(QString::fromUtf8(bytes));
    }
    publish(mime);
    return true;
}

QStringList X11Clipboard::types() const
{
    if (isOwnedHere()) {
        const QMimeData *data = clipboard()->mimeData(m_mode);
        return data ? data->formats() : QStringList();
    }
    bool timedOut = false;
    return formatsOffered(readDeadline(), &timedOut);
}

QByteArray X11Clipboard::data(const QString &type) const
{
    if (isOwnedHere()) {
        const QMimeData *data = clipboard()->mimeData(m_mode);
        if (!data || !data->hasFormat(type))
            return {};
        return data->data(type);
    }
    X11SelectionReader *selections = reader();
    if (!selections)
        return {};
    const X11SelectionReader::Data data =
        selections->readAndWait(selectionName(), targetsOf(type), MaximumReadBytes, readDeadline());
    if (!data.found)
        return {};
    return type == PlainText ? textOf(data, MaximumReadBytes).text.toUtf8() : data.bytes;
}

QString X11Clipboard::text() const
{
    return readText(MaximumReadBytes).text;
}

TextRead X11Clipboard::readText(qsizetype maximumBytes) const
{
    if (isOwnedHere()) {
        const QMimeData *data = clipboard()->mimeData(m_mode);
        return TextRead::of(data && data->hasText() ? data->text() : QString(), maximumBytes);
    }
    X11SelectionReader *selections = reader();
    if (!selections)
        return {};
    const X11SelectionReader::Data data = selections->readAndWait(
        selectionName(), {"UTF8_STRING", "text/plain;charset=utf-8", "STRING", "TEXT"}, maximumBytes,
        readDeadline());
    if (data.timedOut)
        return {QString(), false, true};
    if (!data.found)
        return {};
    return textOf(data, maximumBytes);
}

ClipboardContents X11Clipboard::contents() const
{
    if (isOwnedHere())
        return Clipboard::contents();
    return wholeContents().value_or(ClipboardContents());
}

std::optional<ClipboardContents> X11Clipboard::wholeContents(QString *why) const
{
    if (isOwnedHere() || !reader())
        return Clipboard::contents();
    // One deadline for every format together.
    const QDeadlineTimer deadline = readDeadline();
    auto refuse = [why](const QString &reason) -> std::optional<ClipboardContents> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    bool timedOut = false;
    const QStringList formats = formatsOffered(deadline, &timedOut);
    if (timedOut)
        return refuse(notHandedOver());
    ClipboardContents all;
    qsizetype room = MaximumReadBytes;
    for (const QString &format : formats) {
        const X11SelectionReader::Data data =
            reader()->readAndWait(selectionName(), targetsOf(format), room, deadline);
        if (data.timedOut)
            return refuse(notHandedOver());
        if (data.cut)
            return refuse(u"it holds more than %1 MiB"_s.arg(MaximumReadBytes / (1024 * 1024)));
        if (!data.found)
            continue;
        const QByteArray bytes = format == PlainText ? textOf(data, room).text.toUtf8() : data.bytes;
        room -= bytes.size();
        all.append({format, bytes});
    }
    return all;
}

void X11Clipboard::whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then)
{
    SelectionRequestWatch::start(m_mode, bound, then);
}

bool X11Clipboard::whenOwnershipLost(QObject *context, const std::function<void()> &then)
{
    // Qt hears of the new owner through the X server's SelectionClear.
    QClipboard *system = clipboard();
    const QClipboard::Mode mode = m_mode;
    QObject::connect(system, &QClipboard::changed, context, [system, mode, then](QClipboard::Mode changed) {
        const bool owned = mode == QClipboard::Selection ? system->ownsSelection() : system->ownsClipboard();
        if (changed == mode && !owned)
            then();
    });
    return true;
}

bool X11Clipboard::isOwnedHere() const
{
    return m_mode == QClipboard::Selection ? clipboard()->ownsSelection()
                                           : clipboard()->ownsClipboard();
}

} // namespace glimra
