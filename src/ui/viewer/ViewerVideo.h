#pragma once
// The viewer's video: a player that reads the file first and says whether
// it can play it, shows its first picture before playback (playing muted
// until the picture arrives, then pausing on it), plays and pauses, and its
// own full screen, where Space still plays and pauses.

#include "files/RegularFile.h"
#include "library/MediaItem.h"

#include <QObject>
#include <QThreadPool>

#include <functional>
#include <memory>

class QMediaPlayer;
class QVideoWidget;

namespace mirelo {

class ViewerScene;

class ViewerVideo : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstPictureWaitMs = 1500;

    ViewerVideo(ViewerScene& scene, QObject* parent);

    // Reads `item`; `verdict` runs once on the main thread, unless the
    // video is removed (or another loaded) first.
    void load(const MediaItem& item, std::function<void(bool playable)> verdict);
    // Shows the playable video paused on its first picture.
    void show();
    void remove();
    void togglePlayback();
    QMediaPlayer* player() const { return player_; }
    bool shown() const;
    bool fullScreen() const { return fullScreen_; }
    // Entering and leaving the video's own full screen.
    std::function<void(bool full)> onFullScreen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVideoWidget* surface();
    // The file itself, by the name the process has for its descriptor.
    static std::string descriptorPath(int fd);
    void startPlayer(std::shared_ptr<FileDescriptor> source, std::function<void(bool playable)> verdict);

    ViewerScene& scene_;
    QMediaPlayer* player_ = nullptr;
    std::shared_ptr<FileDescriptor> source_; // the file the player reads
    bool priming_ = false;                   // playing muted until the first picture
    bool fullScreen_ = false;
    bool attached_ = false; // to the scene's video surface
    quint64 loads_ = 0;     // a verdict counts only for the latest load
    QThreadPool workers_;   // last: waited for first when the video goes
};

} // namespace mirelo
