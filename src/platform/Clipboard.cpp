#include "platform/Clipboard.h"

#include <QEventLoop>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

const QString Clipboard::TextType = u"text/plain;charset=utf-8"_s;
const QString Clipboard::PDFType = u"application/pdf"_s;
const QString Clipboard::HTMLType = u"text/html"_s;
const QString Clipboard::TIFFType = u"image/tiff"_s;
const QString Clipboard::RTFType = u"text/rtf"_s;
const QString Clipboard::UriListType = u"text/uri-list"_s;

Clipboard::~Clipboard() = default;

void Clipboard::setText(const QString &text)
{
    setTypes({TextType});
    setData(text.toUtf8(), TextType);
}

QString Clipboard::text() const
{
    for (const QString &type : {TextType, u"text/plain"_s}) {
        const QByteArray bytes = data(type);
        if (!bytes.isNull())
            return QString::fromUtf8(bytes);
    }
    return {};
}

void Clipboard::whenFetched(std::chrono::milliseconds, const std::function<void()> &then)
{
    then();
}

bool Clipboard::whenOwnershipLost(QObject *, const std::function<void()> &)
{
    return false;
}

TextRead Clipboard::readText(qsizetype maximumBytes) const
{
    return TextRead::of(text(), maximumBytes);
}

std::optional<ClipboardContents> Clipboard::wholeContents(QString *) const
{
    return contents();
}

ClipboardContents Clipboard::contents() const
{
    ClipboardContents all;
    for (const QString &type : types())
        all.append({type, data(type)});
    return all;
}

void Clipboard::setContents(const ClipboardContents &contents)
{
    QStringList types;
    for (const auto &[type, data] : contents)
        types.append(type);
    setTypes(types);
    for (const auto &[type, data] : contents)
        setData(data, type);
}

bool Clipboard::waitForChange(const QDeadlineTimer &deadline)
{
    const quint64 before = m_changes;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
    m_waiting.append(&loop);
    loop.exec();
    m_waiting.removeOne(&loop);
    return m_changes != before;
}

void Clipboard::changed()
{
    ++m_changes;
    for (QEventLoop *loop : std::as_const(m_waiting))
        loop->quit();
}

} // namespace glimra
