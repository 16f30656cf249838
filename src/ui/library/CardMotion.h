#pragma once
// How the grid's cards move when their selection changes: the selection
// border is drawn along the card's outline (0.28 s in, 0.16 s out), then
// the card presses in for 75 ms and springs back to rest, slightly smaller
// in selection mode and lifted when selected. Only cards in motion are
// tracked; every other card is at rest. Nothing moves under reduced motion.

#include <QObject>

#include <functional>
#include <string>
#include <unordered_map>

class QVariantAnimation;

namespace mirelo {

class CardMotion : public QObject {
    Q_OBJECT
public:
    struct Pose {
        double border = 0; // share of the outline the selection border covers
        double scale = 1;
        double lift = 0; // points, negative is up
    };
    static constexpr int kBorderInMs = 280, kBorderOutMs = 160, kPressMs = 75;

    // `repaint` is called with a card's path each time its pose changes.
    explicit CardMotion(std::function<void(const std::string& path)> repaint, QObject* parent = nullptr);

    static Pose rest(bool selecting, bool selected, bool reduceMotion);
    Pose pose(const std::string& path, bool selecting, bool selected) const;

    // The card's selected state became `selected`.
    void selectionChanged(const std::string& path, bool selecting, bool selected);
    // Selection mode changed: the card pulses.
    void pulse(const std::string& path, bool selecting, bool selected);
    // The card left the view: it is at rest when it comes back.
    void forget(const std::string& path);
    bool moving() const { return !running_.empty(); }

private:
    struct Running {
        QVariantAnimation* border = nullptr;
        QVariantAnimation* pulse = nullptr;
        Pose from, press, to;
        double borderValue = 0;
        Pose now;
    };
    Running& start(const std::string& path, bool selecting, bool selected);
    void finishIfStill(const std::string& path);

    std::function<void(const std::string&)> repaint_;
    std::unordered_map<std::string, Running> running_;
};

} // namespace mirelo
