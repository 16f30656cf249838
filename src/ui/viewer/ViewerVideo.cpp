#include "ViewerVideo.h"

#include "VideoControls.h"
#include "ViewerScene.h"
#include "images/VideoPoster.h"
#include "files/RegularFile.h"

#include <QAudioOutput>
#include <QFile>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

namespace mirelo {

ViewerVideo::ViewerVideo(ViewerScene& scene, QObject* parent) : QObject(parent), scene_(scene)
{
    connect(scene_.videoControls(), &VideoControls::fullScreenRequested, this,
            [this] { scene_.video()->setFullScreen(true); });
}

// The surface exists once the first video plays.
QVideoWidget* ViewerVideo::surface()
{
    QVideoWidget* surface = scene_.video();
    if (!attached_) {
        attached_ = true;
        connect(surface, &QVideoWidget::fullScreenChanged, this, [this](bool full) {
            fullScreen_ = full;
            if (onFullScreen) onFullScreen(full);
        });
        surface->installEventFilter(this);
    }
    return surface;
}

bool ViewerVideo::shown() const { return player_ && scene_.videoShown(); }

void ViewerVideo::load(const MediaItem& item, std::function<void(bool playable)> verdict)
{
    remove();
    // Only a self-contained local video reaches the player: the file is read
    // first, off the main thread, and a playlist or manifest stops here. The
    // player gets the very file that was read, through its open descriptor:
    // never a name that might decode to another file.
    const quint64 load = loads_;
    workers_.start([this, load, path = std::string(item.path()), verdict = std::move(verdict)]() mutable {
        auto source = std::make_shared<FileDescriptor>(RegularFile::open(path));
        const bool playable = *source && VideoPoster::playable(descriptorPath(source->get()));
        QMetaObject::invokeMethod(
            this,
            [this, load, source, playable, verdict = std::move(verdict)]() mutable {
                if (load != loads_) return;
                if (!playable) return verdict(false);
                startPlayer(std::move(source), std::move(verdict));
            },
            Qt::QueuedConnection);
    });
}

std::string ViewerVideo::descriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

void ViewerVideo::startPlayer(std::shared_ptr<FileDescriptor> source, std::function<void(bool playable)> verdict)
{
    // The back end starts with the surface, before the first player.
    surface();
    player_ = new QMediaPlayer(this);
    player_->setAudioOutput(new QAudioOutput(player_));
    QMediaPlayer* player = player_;
    auto answer = [this, player, verdict = std::move(verdict)](bool playable) {
        if (player == player_) verdict(playable);
    };
    connect(player, &QMediaPlayer::mediaStatusChanged, this, [player, answer](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::LoadedMedia) answer(player->hasVideo());
        if (status == QMediaPlayer::InvalidMedia) answer(false);
    });
    connect(player, &QMediaPlayer::errorOccurred, this, [answer] { answer(false); });
    source_ = std::move(source);
    player->setSource(QUrl::fromLocalFile(QString::fromStdString(descriptorPath(source_->get()))));
}

void ViewerVideo::show()
{
    if (!player_) return;
    QMediaPlayer* player = player_;
    scene_.showVideo(player);
    player->setVideoOutput(surface());
    priming_ = true;
    player->audioOutput()->setMuted(true);
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(scene_.video()->videoSink(), &QVideoSink::videoFrameChanged, player,
                    [this, player, once](const QVideoFrame& frame) {
                        if (!frame.isValid()) return;
                        disconnect(*once);
                        if (player != player_ || !priming_) return;
                        priming_ = false;
                        player->pause();
                        player->audioOutput()->setMuted(false);
                    });
    player->play();
    // A surface that never delivers a picture must not leave the video playing.
    QTimer::singleShot(kFirstPictureWaitMs, player, [this, player] {
        if (player != player_ || !priming_) return;
        priming_ = false;
        player->pause();
        player->setPosition(0);
        player->audioOutput()->setMuted(false);
    });
}

void ViewerVideo::togglePlayback()
{
    if (!player_) return;
    if (priming_) {
        // Space before the first picture: it plays on, with its sound.
        priming_ = false;
        player_->audioOutput()->setMuted(false);
        return;
    }
    player_->playbackState() == QMediaPlayer::PlayingState ? player_->pause() : player_->play();
}

void ViewerVideo::remove()
{
    ++loads_;
    if (scene_.hasVideo() && scene_.video()->isFullScreen()) scene_.video()->setFullScreen(false);
    priming_ = false;
    scene_.showVideo(nullptr);
    if (!player_) return;
    player_->stop();
    player_->setVideoOutput(static_cast<QObject*>(nullptr));
    player_->deleteLater();
    player_ = nullptr;
    source_.reset(); // the player has let go of it: stopped, no output
}

bool ViewerVideo::eventFilter(QObject* watched, QEvent* event)
{
    if (fullScreen_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        togglePlayback();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mirelo
