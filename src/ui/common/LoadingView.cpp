#include "LoadingView.h"
#include "Translation.h"

#include "Palette.h"

#include <QConicalGradient>
#include <QIcon>
#include <QPainter>

namespace mirelo {

namespace {

constexpr const char* kTitle = QT_TRANSLATE_NOOP("Mirelo", "Your content is loading");
constexpr const char* kLine = QT_TRANSLATE_NOOP("Mirelo", "You can keep browsing your library.");
constexpr int kTitleGap = 14, kLineGap = 4;

} // namespace

LoadingView::LoadingView(QWidget* parent) : QWidget(parent)
{
    turning_.setStartValue(0.0);
    turning_.setEndValue(360.0);
    turning_.setDuration(1000);
    turning_.setLoopCount(-1);
    connect(&turning_, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    setAccessibleName(translate("Mirelo", kTitle));
    setAccessibleDescription(translate("Mirelo", kLine));
}

void LoadingView::setReduceMotion(bool reduce)
{
    reduceMotion_ = reduce;
    follow();
}

void LoadingView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    follow();
}

void LoadingView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    turning_.stop();
}

// Turning while shown, unless motion is reduced; then the arc stands still.
void LoadingView::follow()
{
    if (isVisible() && !reduceMotion_) {
        if (!rotating()) turning_.start();
    } else {
        turning_.stop();
        update();
    }
}

void LoadingView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont titleFont = Palette::font(14, QFont::Medium), lineFont = Palette::font(12);
    const int titleHeight = QFontMetrics(titleFont).height(), lineHeight = QFontMetrics(lineFont).height();
    const int total = kSpinner + kTitleGap + titleHeight + kLineGap + lineHeight;
    const int top = (height() - total) / 2;
    const QRectF spinner((width() - kSpinner) / 2.0, top, kSpinner, kSpinner);
    const QRectF ring = spinner.adjusted(1.5, 1.5, -1.5, -1.5);
    const QColor accent = Palette::accent();

    QColor track = accent;
    track.setAlphaF(0.12f);
    painter.setPen(QPen(track, 3));
    painter.drawEllipse(ring);

    // The arc, 0.72 of the circle, fading in towards its head.
    const double angle = reduceMotion_ ? 0.0 : turning_.currentValue().toDouble();
    painter.save();
    painter.translate(spinner.center());
    painter.rotate(angle);
    painter.translate(-spinner.center());
    QConicalGradient gradient(spinner.center(), 90);
    QColor faint = accent;
    faint.setAlphaF(0.1f);
    gradient.setColorAt(0.0, accent);
    gradient.setColorAt(0.28, faint);
    gradient.setColorAt(1.0, accent);
    painter.setPen(QPen(QBrush(gradient), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, 90 * 16, -int(0.72 * 360 * 16));
    painter.restore();

    Palette::symbol(QStringLiteral("image-x-generic-symbolic"))
        .paint(&painter, QRectF(spinner.center() - QPointF(8.5, 8.5), QSizeF(17, 17)).toRect());

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(titleFont);
    const int titleTop = top + kSpinner + kTitleGap;
    painter.drawText(QRect(0, titleTop, width(), titleHeight), Qt::AlignCenter, translate("Mirelo", kTitle));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(lineFont);
    painter.drawText(QRect(0, titleTop + titleHeight + kLineGap, width(), lineHeight), Qt::AlignCenter,
                     translate("Mirelo", kLine));
}

} // namespace mirelo
