#pragma once

#include <QIcon>
#include <QIconEngine>

namespace glimra {

/// A one-colour icon drawn in the text colour of the application's palette, in every size
/// it is asked for: the program's own fallback icons, grey strokes on nothing, stay as
/// readable on a dark theme as on a light one, and as sharp at any scale as their SVG.
/// Main thread.
class PaletteIconEngine : public QIconEngine
{
public:
    /// `shape`: the icon whose opaque parts are drawn.
    explicit PaletteIconEngine(QIcon shape);

    /// `shape`, drawn in the palette's colours.
    static QIcon icon(const QIcon &shape);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    QIcon m_shape;
};

} // namespace glimra
