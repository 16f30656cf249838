#include "SymbolIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace mirelo {

QPixmap SymbolIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    QPixmap picture = source_.pixmap(size, scale, QIcon::Normal, state);
    if (picture.isNull()) return picture;
    const QPalette palette = QApplication::palette();
    QColor ink = palette.color(QPalette::Active, QPalette::WindowText);
    if (mode == QIcon::Disabled) ink = palette.color(QPalette::Disabled, QPalette::WindowText);
    if (mode == QIcon::Selected) ink = palette.color(QPalette::Active, QPalette::HighlightedText);
    QPainter tint(&picture);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(QRect(QPoint(), picture.size()), ink);
    return picture;
}

QPixmap SymbolIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

void SymbolIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
}

QSize SymbolIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return source_.actualSize(size, mode, state);
}

} // namespace mirelo
