#include "ToastView.h"
#include "Translation.h"

#include "AppModel.h"
#include "CapsuleButton.h"
#include "DesktopLook.h"
#include "Palette.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QToolButton>

namespace mirelo {

ToastView::ToastView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 8, 10, 8);
    row->setSpacing(8);
    icon_ = new QLabel(this);
    row->addWidget(icon_);
    text_ = new QLabel(this);
    text_->setFont(Palette::font(12, QFont::Medium));
    text_->setTextFormat(Qt::PlainText);
    row->addWidget(text_, 1);
    undo_ = new CapsuleButton(translate("Mirelo", "Undo"), CapsuleButton::Kind::plain, this);
    undo_->setPointSize(12, QFont::DemiBold);
    connect(undo_, &QAbstractButton::clicked, this, [this] { model_.undoTrash(); });
    row->addWidget(undo_);
    close_ = new QToolButton(this);
    close_->setIcon(Palette::symbol(QStringLiteral("window-close-symbolic")));
    close_->setIconSize(QSize(12, 12));
    close_->setAutoRaise(true);
    close_->setAccessibleName(translate("Mirelo", "Dismiss notification"));
    close_->setToolTip(translate("Mirelo", "Dismiss notification"));
    connect(close_, &QToolButton::clicked, this, [this] { model_.dismissToast(); });
    row->addWidget(close_);
    opacity_ = new QGraphicsOpacityEffect(this);
    opacity_->setOpacity(0);
    setGraphicsEffect(opacity_);
    hide();
    parent->installEventFilter(this);

    connect(&model_, &AppModel::toastChanged, this, &ToastView::follow);
    for (auto signal : {&AppModel::undoRecordsChanged, &AppModel::busyChanged})
        connect(&model_, signal, this, [this] {
            undo_->setVisible(!model_.undoRecords().empty());
            undo_->setEnabled(!model_.busy());
        });
    follow();
}

QString ToastView::text() const { return text_->text(); }

QRect ToastView::restingGeometry() const
{
    const QWidget* host = parentWidget();
    const QSize hint = sizeHint();
    const int width = std::min(hint.width() + 24, host->width() - 2 * kSideMargin);
    return {(host->width() - width) / 2, host->height() - hint.height() - kBottomMargin, width, hint.height()};
}

void ToastView::place()
{
    if (!motion_ || motion_->state() != QAbstractAnimation::Running) setGeometry(restingGeometry());
}

bool ToastView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return QWidget::eventFilter(watched, event);
}

void ToastView::follow()
{
    const OptionalText& toast = model_.toast();
    if (toast) {
        text_->setText(*toast);
        icon_->setPixmap(Palette::symbol(QStringLiteral("emblem-ok-symbolic")).pixmap(12, 12));
        undo_->setVisible(!model_.undoRecords().empty());
        undo_->setEnabled(!model_.busy());
        adjustSize();
    }
    const bool in = toast.has_value();
    if (in == shown_) {
        if (in) place();
        return;
    }
    shown_ = in;
    animate(in);
}

void ToastView::animate(bool in)
{
    if (motion_) motion_->stop();
    const QRect rest = restingGeometry();
    const QRect below = rest.translated(0, rest.height() + kBottomMargin);
    raise();
    show();
    if (DesktopLook::shared().reduceMotion()) {
        setGeometry(rest);
        opacity_->setOpacity(in ? 1 : 0);
        setVisible(in);
        return;
    }
    auto* group = new QParallelAnimationGroup(this);
    auto* move = new QPropertyAnimation(this, "geometry", group);
    move->setDuration(kAnimationMs);
    move->setEasingCurve(QEasingCurve::InOutQuad);
    move->setStartValue(in ? below : geometry());
    move->setEndValue(in ? rest : below);
    auto* fade = new QPropertyAnimation(opacity_, "opacity", group);
    fade->setDuration(kAnimationMs);
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    fade->setStartValue(opacity_->opacity());
    fade->setEndValue(in ? 1.0 : 0.0);
    connect(group, &QAbstractAnimation::finished, this, [this, in] {
        if (!in) hide();
    });
    motion_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

// A capsule of the window's colour with a soft shadow.
void ToastView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(3, 2, -3, -4);
    const double radius = body.height() / 2;
    for (int i = 1; i <= 3; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 14));
        painter.drawRoundedRect(body.translated(0, i).adjusted(-i / 2.0, 0, i / 2.0, 0), radius, radius);
    }
    QColor fill = palette().color(QPalette::Base);
    fill.setAlphaF(0.97f);
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.1f);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, radius, radius);
}

} // namespace mirelo
