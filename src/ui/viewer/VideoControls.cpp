#include "VideoControls.h"
#include "Translation.h"

#include "common/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QPainter>
#include <QSlider>
#include <QToolButton>

namespace mirelo {

namespace {

QString clock(qint64 ms)
{
    const qint64 seconds = std::max<qint64>(ms, 0) / 1000;
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

VideoControls::VideoControls(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 4, 14, 4);
    row->setSpacing(10);
    play_ = new QToolButton(this);
    play_->setAutoRaise(true);
    play_->setIconSize(QSize(16, 16));
    play_->setFocusPolicy(Qt::NoFocus);
    connect(play_, &QToolButton::clicked, this, [this] {
        if (!player_) return;
        player_->playbackState() == QMediaPlayer::PlayingState ? player_->pause() : player_->play();
    });
    row->addWidget(play_);
    position_ = new QSlider(Qt::Horizontal, this);
    position_->setFocusPolicy(Qt::NoFocus);
    position_->setAccessibleName(translate("Mirelo", "Position"));
    connect(position_, &QSlider::sliderMoved, this, [this](int value) {
        if (player_) player_->setPosition(value);
    });
    row->addWidget(position_, 1);
    time_ = new QLabel(this);
    time_->setFont(Palette::font(11, QFont::Medium));
    QPalette palette = time_->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    time_->setPalette(palette);
    row->addWidget(time_);
    fullScreen_ = new QToolButton(this);
    fullScreen_->setAutoRaise(true);
    fullScreen_->setIconSize(QSize(16, 16));
    fullScreen_->setFocusPolicy(Qt::NoFocus);
    fullScreen_->setAccessibleName(translate("Mirelo", "Full Screen"));
    fullScreen_->setToolTip(translate("Mirelo", "Full Screen"));
    fullScreen_->setIcon(
        Palette::tintedSymbol(QStringLiteral("view-fullscreen-symbolic"), 16, Qt::white, devicePixelRatioF()));
    connect(fullScreen_, &QToolButton::clicked, this, &VideoControls::fullScreenRequested);
    row->addWidget(fullScreen_);
    refresh();
}

QString VideoControls::timeText(qint64 positionMs, qint64 durationMs)
{
    return clock(positionMs) + QStringLiteral(" / ") + clock(durationMs);
}

void VideoControls::setPlayer(QMediaPlayer* player)
{
    for (const auto& connection : connections_) disconnect(connection);
    connections_.clear();
    player_ = player;
    if (player_) {
        connections_ << connect(player_, &QMediaPlayer::playbackStateChanged, this, &VideoControls::refresh)
                     << connect(player_, &QMediaPlayer::positionChanged, this, &VideoControls::refresh)
                     << connect(player_, &QMediaPlayer::durationChanged, this, &VideoControls::refresh)
                     << connect(player_, &QObject::destroyed, this, [this] { setPlayer(nullptr); });
    }
    refresh();
}

void VideoControls::refresh()
{
    const bool playing = player_ && player_->playbackState() == QMediaPlayer::PlayingState;
    play_->setIcon(Palette::tintedSymbol(playing ? QStringLiteral("media-playback-pause-symbolic")
                                                 : QStringLiteral("media-playback-start-symbolic"),
                                         16, Qt::white, devicePixelRatioF()));
    play_->setAccessibleName(playing ? translate("Mirelo", "Pause") : translate("Mirelo", "Play"));
    play_->setToolTip(translate("Mirelo", "%1 (Space)").arg(play_->accessibleName()));
    const qint64 duration = player_ ? player_->duration() : 0, position = player_ ? player_->position() : 0;
    position_->setRange(0, int(std::min<qint64>(duration, INT_MAX)));
    if (!position_->isSliderDown()) position_->setValue(int(std::min<qint64>(position, INT_MAX)));
    time_->setText(timeText(position, duration));
}

// A dark translucent capsule.
void VideoControls::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawRoundedRect(QRectF(rect()), height() / 2.0, height() / 2.0);
}

} // namespace mirelo
