#include "ViewerScene.h"

#include "ViewerPipeline.h"
#include "Translation.h"

#include "Filmstrip.h"
#include "GlassButton.h"
#include "ThumbnailStore.h"
#include "VideoControls.h"
#include "ImageStage.h"
#include "common/DesktopLook.h"
#include "common/Palette.h"
#include "common/Text.h"

#include <QPushButton>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QToolButton>
#include "MediaBackend.h"

#include <QVideoWidget>

#include <cmath>

namespace mirelo {

namespace {

QLabel* label(QWidget* parent, double size, QFont::Weight weight, QColor colour, Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setFont(Palette::font(size, weight));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(alignment);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

ViewerScene::ViewerScene(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);

    stage_ = new ImageStage(this);
    stage_->setMouseTracking(true);
    stage_->installEventFilter(this);
    stage_->onZoom = [this](double scale) {
        // Halves round away from zero: 0.5 shows 50%. A stand-in's scale means nothing yet.
        const bool known = stage_->frame() && !stage_->frame()->placeholder;
        zoomLabel_->setText(known ? QString::number(std::lround(scale * 100)) + QStringLiteral("%") : QString());
        if (known && onDetailWanted &&
            stage_->frame()->needsDetail(scale * devicePixelRatioF(), ViewerPipeline::kImageLimit))
            onDetailWanted();
    };

    videoControls_ = new VideoControls(this);
    videoControls_->hide();

    filmstrip_ = new Filmstrip(ThumbnailStore::shared(), this);
    filmstrip_->onNavigate = [this](int steps) {
        if (onNavigate) onNavigate(steps);
    };
    filmstrip_->onChoose = [this](const MediaItem& item) {
        if (onChoose) onChoose(item);
        stage_->setFocus(); // the arrows keep moving through the list
    };

    library_ = new GlassButton(QStringLiteral("view-grid-symbolic"), translate("Mirelo", "Show library"), this);
    folder_ =
        new GlassButton(QStringLiteral("folder-new-symbolic"), translate("Mirelo", "Add image to a folder"), this);
    info_ =
        new GlassButton(QStringLiteral("help-about-symbolic"), translate("Mirelo", "Image information (Ctrl+I)"), this);
    copy_ = new GlassButton(QStringLiteral("edit-copy-symbolic"), translate("Mirelo", "Copy image (Ctrl+C)"), this);

    // The chrome: a translucent bar with the file name and, without a title
    // bar, the window's own buttons at its left.
    bar_ = new QWidget(this);
    bar_->setObjectName(QStringLiteral("viewerBar"));
    bar_->setAttribute(Qt::WA_StyledBackground);
    bar_->setStyleSheet(QStringLiteral(
        "#viewerBar { background: rgba(246, 246, 248, 0.86); border-bottom: 1px solid rgba(0, 0, 0, 0.08); }"));
    const std::tuple<const char*, const char*, std::function<void()>*> windowButtons[] = {
        {"window-close-symbolic", QT_TRANSLATE_NOOP("Mirelo", "Close"), &onClose},
        {"window-minimize-symbolic", QT_TRANSLATE_NOOP("Mirelo", "Minimize"), &onMinimize},
        {"view-restore-symbolic", QT_TRANSLATE_NOOP("Mirelo", "Leave full screen"), &onCompact},
    };
    for (const auto& [symbol, help, callback] : windowButtons) {
        auto* button = new QToolButton(bar_);
        button->setIcon(Palette::symbol(QString::fromUtf8(symbol)));
        button->setIconSize(QSize(12, 12));
        button->setAutoRaise(true);
        button->setFixedSize(20, 20);
        button->setToolTip(translate("Mirelo", help));
        button->setAccessibleName(translate("Mirelo", help));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [callback = callback] {
            if (*callback) (*callback)();
        });
        windowButtons_ << button;
    }
    filename_ = label(bar_, 12, QFont::Medium, QColor(28, 28, 30), Qt::AlignCenter);
    filename_->setTextFormat(Qt::PlainText);
    bar_->setMouseTracking(true);
    bar_->installEventFilter(this);
    barOpacity_ = new QGraphicsOpacityEffect(bar_);
    barOpacity_->setOpacity(0);
    bar_->setGraphicsEffect(barOpacity_);

    count_ = label(this, 10, QFont::Normal, QColor(255, 255, 255, 217), Qt::AlignCenter);
    zoomLabel_ = label(this, 11, QFont::Medium, QColor(255, 255, 255, 230), Qt::AlignRight | Qt::AlignVCenter);
    zoomLabel_->setText(QStringLiteral("100%"));
    zoomLabel_->setAttribute(Qt::WA_TransparentForMouseEvents, false); // its tooltip
    zoomLabel_->setToolTip(translate("Mirelo", "Image magnification"));

    copied_ = label(this, 12, QFont::Medium, QColor(28, 28, 30), Qt::AlignCenter);
    copied_->setText(translate("Mirelo", "Copied"));
    copied_->setStyleSheet(QStringLiteral("background: rgba(250, 250, 252, 0.95); border-radius: 12px;"));
    copiedOpacity_ = new QGraphicsOpacityEffect(copied_);
    copiedOpacity_->setOpacity(0);
    copied_->setGraphicsEffect(copiedOpacity_);

    notice_ = label(this, 12, QFont::Medium, Qt::white, Qt::AlignCenter);
    notice_->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 0.48); border-radius: 15px;"));
    noticeOpacity_ = new QGraphicsOpacityEffect(notice_);
    noticeOpacity_->setOpacity(0);
    notice_->setGraphicsEffect(noticeOpacity_);
    noticeTimer_.setSingleShot(true);
    noticeTimer_.setInterval(kNoticeMs);
    noticeTimer_.setTimerType(Qt::PreciseTimer); // its full three seconds, never 5 % less
    noticeUndo_ = new QPushButton(translate("Mirelo", "Undo"), notice_);
    noticeUndo_->setFont(Palette::font(12, QFont::DemiBold));
    noticeUndo_->setCursor(Qt::PointingHandCursor);
    noticeUndo_->setStyleSheet(
        QStringLiteral("QPushButton { color: white; background: rgba(255,255,255,0.16); border: none;"
                       " border-radius: 11px; padding: 2px 12px; }"
                       "QPushButton:hover { background: rgba(255,255,255,0.28); }"));
    noticeUndo_->hide();
    connect(noticeUndo_, &QPushButton::clicked, this, [this] {
        noticeUndo_->hide();
        fade(noticeOpacity_, 0, kNoticeFadeMs);
        if (onUndo) onUndo();
    });
    // The notice always fades out, even with reduced motion; its Undo goes with it.
    connect(&noticeTimer_, &QTimer::timeout, this, [this] {
        fade(noticeOpacity_, 0, kNoticeFadeMs);
        QTimer::singleShot(kNoticeFadeMs, noticeUndo_, [this] {
            if (!noticeTimer_.isActive()) noticeUndo_->hide();
        });
    });

    errorLabel_ = label(this, 15, QFont::Medium, Qt::white, Qt::AlignCenter);
    errorLabel_->setWordWrap(true);
    errorLabel_->hide();

    copiedTimer_.setSingleShot(true);
    copiedTimer_.setInterval(kCopiedMs);
    connect(&copiedTimer_, &QTimer::timeout, this,
            [this] { fade(copiedOpacity_, 0, DesktopLook::shared().reduceMotion() ? 0 : kChromeFadeMs); });

    spinner_.setStartValue(0.0);
    spinner_.setEndValue(360.0);
    spinner_.setDuration(1000);
    spinner_.setLoopCount(-1);
    connect(&spinner_, &QVariantAnimation::valueChanged, this,
            [this] { update(QRect(width() / 2 - 12, height() / 2 - 12, 24, 24)); });

    filmstrip_->raise();
    layoutChildren();
}

QRectF ViewerScene::imageViewportFor(QSize size)
{
    return {0, double(kTopSpace), double(size.width()),
            std::max(double(size.height() - kTopSpace - kBottomSpace), 1.0)};
}

// The layout of the viewer, in points from the top left.
QVideoWidget* ViewerScene::video()
{
    if (video_) return video_;
    MediaBackend::start();
    video_ = new QVideoWidget(this);
    video_->setAspectRatioMode(Qt::KeepAspectRatio);
    video_->hide();
    video_->stackUnder(videoControls_);
    layoutChildren();
    return video_;
}

bool ViewerScene::videoShown() const { return video_ && video_->isVisible(); }

void ViewerScene::layoutChildren()
{
    const int w = width(), h = height();
    stage_->setGeometry(rect());
    stage_->setImageViewport(imageViewportFor(size()));
    // The player, with its controls under it (a video surface may be a
    // window of its own, which nothing can be drawn over).
    const QRect player = imageViewportFor(size()).adjusted(90, 15, -90, -15).toRect();
    if (video_) video_->setGeometry(player.adjusted(0, 0, 0, -(VideoControls::kHeight + 8)));
    videoControls_->setGeometry(player.center().x() - std::min(260, player.width() / 2),
                                player.bottom() - VideoControls::kHeight, std::min(520, player.width()),
                                VideoControls::kHeight);
    // Each button's circle at (W − 72, 52 + 58 k), 46 across; the widget has
    // room around it for the shadow.
    const int margin = (library_->width() - GlassButton::kDiameter) / 2;
    const int buttonX = w - 72 - margin;
    int top = 52 - margin;
    for (GlassButton* button : {library_, folder_, info_, copy_}) {
        button->move(buttonX, top);
        top += 58;
    }
    bar_->setGeometry(0, 0, w, kBarHeight);
    int x = 12;
    for (QToolButton* button : windowButtons_) {
        button->move(x, (kBarHeight - button->height()) / 2);
        x += button->width() + 6;
    }
    filename_->setGeometry(86, 7, std::max(w - 110, 100), 18);
    filmstrip_->setGeometry(0, h - 133, w, Filmstrip::kHeight);
    count_->setGeometry(w / 2 - 90, h - 22, 180, 14);
    zoomLabel_->setGeometry(w - 94, h - 159, 65, 17);
    const QRect copy = copy_->geometry();
    copied_->setGeometry(copy.x() + margin - 92, copy.center().y() - 16, 80, 32);
    notice_->setGeometry(w / 2 - 230, h - 182, 460, 31);
    noticeUndo_->adjustSize();
    noticeUndo_->move(notice_->width() - noticeUndo_->width() - 5, (notice_->height() - noticeUndo_->height()) / 2);
    errorLabel_->setGeometry(w / 2 - 230, h / 2 - 45, 460, 90);
}

void ViewerScene::resizeEvent(QResizeEvent*) { layoutChildren(); }

void ViewerScene::setWindowButtonsShown(bool shown)
{
    for (QToolButton* button : windowButtons_) button->setVisible(shown);
}

void ViewerScene::setItems(const MediaItems& items, const std::string& current)
{
    copiedTimer_.stop();
    copiedOpacity_->setOpacity(0);
    items_ = items;
    selectedIndex_.reset();
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].path() == current) {
            selectedIndex_ = int(i);
            break;
        }
    if (selectedIndex_) {
        const QString name = qstring(items[*selectedIndex_].name());
        filename_->setText(filename_->fontMetrics().elidedText(name, Qt::ElideMiddle, filename_->width()));
        filename_->setToolTip(name);
        count_->setText(countText(*selectedIndex_ + 1) + QStringLiteral(" / ") + countText(items.size()));
    }
    filmstrip_->setItems(items, selectedIndex_);
}

void ViewerScene::revealFilmstrip()
{
    filmstrip_->show();
    filmstrip_->reveal();
}

void ViewerScene::showVideo(QMediaPlayer* player)
{
    videoControls_->setPlayer(player);
    if (player)
        video()->setVisible(true);
    else if (video_)
        video_->setVisible(false);
    videoControls_->setVisible(player != nullptr);
    if (player) {
        stage_->hide();
        videoControls_->raise();
    } else {
        stage_->show();
    }
}

void ViewerScene::prepareOpening()
{
    filmstrip_->hide(); // until the window shows
    stage_->reset();
    showVideo(nullptr);
    errorLabel_->hide();
    clearAmbient();
}

void ViewerScene::clearAmbient()
{
    ambient_ = QImage();
    update();
}

void ViewerScene::showFrame(const FrameRef& frame, const MediaItem& item, bool first)
{
    setSpinning(false);
    errorLabel_->hide();
    stage_->show();
    ambient_ = frame->ambient ? *frame->ambient : QImage();
    update();
    const QString name = qstring(item.name());
    stage_->display(frame, name, first);
    describeZoom(*frame);
    setAccessibleName(translate("Mirelo", "Viewing %1").arg(name));
}

void ViewerScene::upgradeFrame(const FrameRef& frame)
{
    ambient_ = frame->ambient ? *frame->ambient : QImage();
    update();
    stage_->upgrade(frame);
    describeZoom(*frame);
}

void ViewerScene::describeZoom(const ViewerFrame& frame)
{
    zoomLabel_->setToolTip(frame.downsampled ? translate("Mirelo", "Optimized 4,096 px preview · original %1 × %2")
                                                   .arg(qlonglong(std::llround(frame.pixels.width)))
                                                   .arg(qlonglong(std::llround(frame.pixels.height)))
                                             : translate("Mirelo", "Image magnification"));
}

void ViewerScene::showError(const QString& message)
{
    stage_->reset();
    setSpinning(false);
    errorLabel_->setText(message);
    zoomLabel_->clear(); // no picture, no magnification
    errorLabel_->show();
    errorLabel_->raise();
}

void ViewerScene::setSpinning(bool spinning)
{
    if (spinning == this->spinning()) return;
    if (spinning)
        spinner_.start();
    else
        spinner_.stop();
    update();
}

void ViewerScene::toast(const QString& text, bool undoable)
{
    noticeTimer_.stop();
    notice_->setText(QStringLiteral("  ") + text + QStringLiteral("  "));
    noticeUndo_->setVisible(undoable);
    fade(noticeOpacity_, 1, 0);
    noticeTimer_.start();
}

void ViewerScene::showCopied()
{
    copiedTimer_.stop();
    fade(copiedOpacity_, 1, DesktopLook::shared().reduceMotion() ? 0 : 120);
    copiedTimer_.start();
}

bool ViewerScene::copiedShown() const { return copiedOpacity_->opacity() > 0 || copiedTimer_.isActive(); }

void ViewerScene::setChrome(bool show)
{
    chromeShown_ = show;
    bar_->setAccessibleName(show ? filename_->text() : QString());
    fade(barOpacity_, show ? 1 : 0, DesktopLook::shared().reduceMotion() ? 0 : kChromeFadeMs);
}

void ViewerScene::fade(QGraphicsOpacityEffect* effect, double to, int durationMs)
{
    for (auto* running : effect->findChildren<QPropertyAnimation*>()) running->stop();
    if (durationMs <= 0) {
        effect->setOpacity(to);
        return;
    }
    auto* animation = new QPropertyAnimation(effect, "opacity", effect);
    animation->setDuration(durationMs);
    animation->setStartValue(effect->opacity());
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

// The top band: the pointer in it, or a click in it, shows the chrome.
void ViewerScene::followPointer(QPointF scenePoint)
{
    const bool inside = scenePoint.y() < kTopBand;
    if (inside == inTopBand_) return;
    inTopBand_ = inside;
    if (onTopHover) onTopHover(inside);
}

bool ViewerScene::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bar_) {
        // The bar lies in the top band, shown or not.
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) followPointer(QPointF(0, 0));
        if (event->type() == QEvent::MouseButtonPress && onTopHover) onTopHover(true);
    }
    if (watched == stage_) {
        if (event->type() == QEvent::MouseMove)
            followPointer(stage_->mapTo(this, static_cast<QMouseEvent*>(event)->position()));
        if (event->type() == QEvent::MouseButtonPress &&
            stage_->mapTo(this, static_cast<QMouseEvent*>(event)->position()).y() < kTopBand && onTopHover) {
            onTopHover(true);
            return true;
        }
        if (event->type() == QEvent::Leave && inTopBand_) followPointer(QPointF(0, height()));
    }
    return QWidget::eventFilter(watched, event);
}

void ViewerScene::keyPressEvent(QKeyEvent* event)
{
    if (onKey && onKey(event)) return;
    QWidget::keyPressEvent(event);
}

// The backdrop: mid grey, the picture's blurred copy over it at 0.45 and a
// dark veil; for videos and while opening only the greys. The copy is tinted
// once per picture, at its own small size, so a repaint draws it in one pass.
void ViewerScene::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor grey = QColor::fromRgbF(0.48f, 0.48f, 0.48f), veil = QColor::fromRgbF(0.22f, 0.22f, 0.22f, 0.4f);
    if (ambient_.isNull()) {
        painter.fillRect(rect(), grey);
        painter.fillRect(rect(), veil);
    } else {
        if (backdropSource_ != ambient_.cacheKey()) {
            backdrop_ = QImage(ambient_.size(), QImage::Format_RGB32);
            QPainter tint(&backdrop_);
            tint.fillRect(backdrop_.rect(), grey);
            tint.setOpacity(0.45);
            tint.drawImage(0, 0, ambient_);
            tint.setOpacity(1);
            tint.fillRect(backdrop_.rect(), veil);
            backdropSource_ = ambient_.cacheKey();
        }
        // Cover the whole scene, cropping what overflows.
        const QSizeF picture = QSizeF(backdrop_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatioByExpanding);
        const QRectF target(QPointF((width() - picture.width()) / 2, (height() - picture.height()) / 2), picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, backdrop_);
    }
    if (spinning()) {
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF ring(width() / 2.0 - 9, height() / 2.0 - 9, 18, 18);
        painter.setPen(QPen(QColor(255, 255, 255, 60), 2.5));
        painter.drawEllipse(ring);
        painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
        const int start = int(-spinner_.currentValue().toDouble() * 16);
        painter.drawArc(ring, start, 100 * 16);
    }
}

} // namespace mirelo
