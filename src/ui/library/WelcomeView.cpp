#include "WelcomeView.h"
#include "Translation.h"

#include "AppModel.h"
#include "common/CapsuleButton.h"
#include "common/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace mirelo {

namespace {

QLabel* line(const QString& text, double size, QFont::Weight weight, QWidget* parent, bool secondary = false)
{
    auto* label = new QLabel(text, parent);
    label->setFont(Palette::font(size, weight));
    label->setAlignment(Qt::AlignCenter);
    if (secondary) label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

// A symbol and a title: one of the features under the buttons.
QWidget* feature(const QString& symbol, const QString& title, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    auto* icon = new QLabel(widget);
    Palette::followLook(icon, [icon, symbol] { icon->setPixmap(Palette::symbol(symbol).pixmap(15, 15)); });
    row->addWidget(icon);
    auto* label = new QLabel(title, widget);
    label->setFont(Palette::font(12, QFont::Medium));
    label->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(label);
    return widget;
}

} // namespace

WelcomeView::WelcomeView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(0);
    column->addStretch(1);
    illustration_ = new QWidget(this);
    illustration_->setFixedSize(260, 180);
    column->addWidget(illustration_, 0, Qt::AlignHCenter);
    column->addSpacing(20);
    auto* headline = line(translate("Mirelo", "Every image. Beautifully simple."), 25, QFont::DemiBold, this);
    QFont headlineFont = headline->font();
    headlineFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.7);
    headline->setFont(headlineFont);
    column->addWidget(headline);
    column->addSpacing(12);
    column->addWidget(
        line(translate("Mirelo",
                       "From everyday photos to vectors and RAW files.\nA closer look is just a double-click away."),
             14, QFont::Normal, this, true));
    column->addSpacing(25);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    auto* open = new CapsuleButton(translate("Mirelo", "Open images"), CapsuleButton::Kind::prominent, this);
    open->setSymbol(QStringLiteral("image-x-generic-symbolic"));
    open->setPointSize(13);
    connect(open, &QAbstractButton::clicked, this, [this] { model_.chooseFiles(); });
    buttons->addWidget(open);
    auto* scan = new CapsuleButton(translate("Mirelo", "Scan a folder"), CapsuleButton::Kind::bordered, this);
    scan->setSymbol(QStringLiteral("folder-symbolic"));
    scan->setPointSize(13);
    connect(scan, &QAbstractButton::clicked, this, [this] { model_.chooseFolders(); });
    buttons->addWidget(scan);
    buttons->addStretch(1);
    column->addLayout(buttons);
    column->addSpacing(17);
    column->addWidget(line(translate("Mirelo", "or drop images and folders anywhere"), 11, QFont::Normal, this, true));
    column->addSpacing(32);
    auto* features = new QHBoxLayout;
    features->setSpacing(28);
    features->addStretch(1);
    features->addWidget(
        feature(QStringLiteral("media-playlist-repeat-symbolic"), translate("Mirelo", "Browse with arrow keys"), this));
    features->addWidget(feature(QStringLiteral("zoom-in-symbolic"), translate("Mirelo", "Pinch to get closer"), this));
    features->addWidget(
        feature(QStringLiteral("user-trash-symbolic"), translate("Mirelo", "Clean up with confidence"), this));
    features->addStretch(1);
    column->addLayout(features);
    column->addStretch(1);
}

// Three photo cards fanned out; the front one shows a landscape and a tag.
void WelcomeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF area = illustration_->geometry();
    const QPointF centre = area.center();
    const QSizeF card(150, 112);
    const QColor accent = Palette::accent();
    const bool dark = Palette::dark();
    struct Card {
        double angle, dx, dy;
        QColor fill;
    };
    QColor back = accent, middle = accent;
    back.setAlphaF(0.18f);
    middle.setAlphaF(0.32f);
    const Card cards[] = {{10, 34, -4, back}, {-7, -34, 2, middle}, {-8, 0, 8, QColor()}};
    for (const Card& tilt : cards) {
        painter.save();
        painter.translate(centre + QPointF(tilt.dx, tilt.dy));
        painter.rotate(tilt.angle);
        const QRectF rect(-card.width() / 2, -card.height() / 2, card.width(), card.height());
        // A soft shadow under each card.
        for (int i = 3; i >= 1; --i) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, dark ? 30 : 12));
            painter.drawRoundedRect(rect.translated(0, i * 1.5).adjusted(-i, -i, i, i), 16 + i, 16 + i);
        }
        if (tilt.fill.isValid()) {
            painter.setBrush(dark ? tilt.fill.darker(140) : tilt.fill.lighter(100));
            painter.setPen(QPen(QColor(255, 255, 255, dark ? 40 : 200), 3));
            painter.drawRoundedRect(rect, 16, 16);
        } else {
            QLinearGradient sky(rect.topLeft(), rect.bottomLeft());
            sky.setColorAt(0, accent.lighter(dark ? 90 : 150));
            sky.setColorAt(1, accent);
            painter.setBrush(sky);
            painter.setPen(QPen(dark ? QColor(255, 255, 255, 60) : Qt::white, 4));
            painter.drawRoundedRect(rect, 16, 16);
            const QPixmap tinted = // white at 0.85
                Palette::tintedSymbol(QStringLiteral("image-x-generic-symbolic"), 78, QColor(255, 255, 255, 217),
                                      devicePixelRatioF());
            painter.drawPixmap(QRectF(-39, -39, 78, 78), tinted, tinted.rect());
            // The format tag.
            const QRectF tag(rect.left() + 10, rect.top() + 10, 38, 18);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 90));
            painter.drawRoundedRect(tag, 9, 9);
            painter.setPen(Qt::white);
            painter.setFont(Palette::font(10, QFont::Bold));
            painter.drawText(tag, Qt::AlignCenter, QStringLiteral("HEIC"));
        }
        painter.restore();
    }
}

} // namespace mirelo
