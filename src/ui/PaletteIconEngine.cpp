#include "ui/PaletteIconEngine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The colour an icon takes beside text of `mode`: a chosen row's, a disabled one's, or plain.
QColor colourFor(QIcon::Mode mode)
{
    const QPalette palette = QGuiApplication::palette();
    if (mode == QIcon::Selected)
        return palette.color(QPalette::HighlightedText);
    if (mode == QIcon::Disabled)
        return palette.color(QPalette::Disabled, QPalette::Text);
    return palette.color(QPalette::Text);
}

} // namespace

PaletteIconEngine::PaletteIconEngine(QIcon shape) : m_shape(std::move(shape)) {}

QIcon PaletteIconEngine::icon(const QIcon &shape)
{
    return QIcon(new PaletteIconEngine(shape));
}

QPixmap PaletteIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    QPixmap pixmap = m_shape.pixmap(size, scale, QIcon::Normal, state);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(), pixmap.deviceIndependentSize().toSize()), colourFor(mode));
    return pixmap;
}

QPixmap PaletteIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

void PaletteIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
}

QSize PaletteIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return m_shape.actualSize(size, mode, state);
}

QIconEngine *PaletteIconEngine::clone() const
{
    return new PaletteIconEngine(m_shape);
}

QString PaletteIconEngine::key() const
{
    return u"glimra-palette"_s;
}

} // namespace glimra
