#include "platform/Pasteboard.h"

using namespace Qt::StringLiterals;

namespace glimra {

const QString Pasteboard::StringType = u"text/plain;charset=utf-8"_s;
const QString Pasteboard::PDFType = u"application/pdf"_s;
const QString Pasteboard::HTMLType = u"text/html"_s;
const QString Pasteboard::TIFFType = u"image/tiff"_s;
const QString Pasteboard::RTFType = u"text/rtf"_s;
const QString Pasteboard::FilenamesType = u"text/uri-list"_s;

Pasteboard::~Pasteboard() = default;

bool Pasteboard::setString(const QString &text, const QString &type)
{
    return setData(text.toUtf8(), type);
}

QString Pasteboard::stringValue() const
{
    for (const QString &type : {StringType, u"text/plain"_s}) {
        const QByteArray data = dataForType(type);
        if (!data.isNull())
            return QString::fromUtf8(data);
    }
    return {};
}

void Pasteboard::whenFetched(std::chrono::milliseconds, const std::function<void()> &then)
{
    then();
}

TextRead Pasteboard::readText(qsizetype maximumBytes) const
{
    return TextRead::of(stringValue(), maximumBytes);
}

std::optional<PasteboardContents> Pasteboard::wholeContents(QString *) const
{
    return contents();
}

PasteboardContents Pasteboard::contents() const
{
    PasteboardContents all;
    for (const QString &type : types())
        all.append({type, dataForType(type)});
    return all;
}

void Pasteboard::setContents(const PasteboardContents &contents)
{
    QStringList types;
    for (const auto &[type, data] : contents)
        types.append(type);
    declareTypes(types);
    for (const auto &[type, data] : contents)
        setData(data, type);
}

} // namespace glimra
