#include "TesselMark.h"

#include <QPainter>
#include <QPainterPath>

namespace mirelo {

TesselMark::TesselMark(int size, QWidget* parent) : QWidget(parent), picture_(QStringLiteral(":/Mirelo.png"))
{
    setFixedSize(size, size);
    setAccessibleName(QString());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TesselMark::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), 0.24 * width(), 0.24 * width());
    painter.setClipPath(clip);
    painter.drawImage(QRectF(rect()), picture_);
}

} // namespace mirelo
