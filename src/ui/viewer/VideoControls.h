#pragma once
// The floating controls over a playing video: play or pause, the position
// as a slider to seek with, the time played and the length, and full screen.

#include <QWidget>

class QLabel;
class QMediaPlayer;
class QSlider;
class QToolButton;

namespace mirelo {

class VideoControls : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 40;

    explicit VideoControls(QWidget* parent = nullptr);
    // Follows `player` (none detaches).
    void setPlayer(QMediaPlayer* player);
    // "1:05 / 3:20".
    static QString timeText(qint64 positionMs, qint64 durationMs);

Q_SIGNALS:
    void fullScreenRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    QMediaPlayer* player_ = nullptr;
    QToolButton* play_;
    QSlider* position_;
    QLabel* time_;
    QToolButton* fullScreen_;
    QList<QMetaObject::Connection> connections_;
};

} // namespace mirelo
