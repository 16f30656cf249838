#include "CardMotion.h"

#include "layout/Spring.h"
#include "common/DesktopLook.h"

#include <QEasingCurve>
#include <QVariantAnimation>

namespace mirelo {

namespace {

const Spring kSettle{0.26, 0.64};

double mix(double from, double to, double share) { return from + (to - from) * share; }

CardMotion::Pose mix(const CardMotion::Pose& from, const CardMotion::Pose& to, double share)
{
    return {from.border, mix(from.scale, to.scale, share), mix(from.lift, to.lift, share)};
}

} // namespace

CardMotion::CardMotion(std::function<void(const std::string&)> repaint, QObject* parent)
    : QObject(parent), repaint_(std::move(repaint))
{
}

CardMotion::Pose CardMotion::rest(bool selecting, bool selected, bool reduceMotion)
{
    return {selected ? 1.0 : 0.0, !reduceMotion && selecting ? 0.985 : 1.0, !reduceMotion && selected ? -2.0 : 0.0};
}

CardMotion::Pose CardMotion::pose(const std::string& path, bool selecting, bool selected) const
{
    auto found = running_.find(path);
    if (found == running_.end()) return rest(selecting, selected, DesktopLook::shared().reduceMotion());
    Pose pose = found->second.now;
    pose.border = found->second.border ? found->second.borderValue : (selected ? 1.0 : 0.0);
    return pose;
}

CardMotion::Running& CardMotion::start(const std::string& path, bool selecting, bool selected)
{
    Running& running = running_[path];
    if (!running.pulse && !running.border) running.now = rest(selecting, !selected, false);
    return running;
}

void CardMotion::selectionChanged(const std::string& path, bool selecting, bool selected)
{
    if (DesktopLook::shared().reduceMotion()) {
        forget(path);
        repaint_(path);
        return;
    }
    Running& running = start(path, selecting, selected);
    const double from = running.border ? running.borderValue : (selected ? 0.0 : 1.0);
    if (running.border) running.border->stop();
    auto* border = new QVariantAnimation(this);
    border->setDuration(selected ? kBorderInMs : kBorderOutMs);
    border->setStartValue(from);
    border->setEndValue(selected ? 1.0 : 0.0);
    running.border = border;
    running.borderValue = from;
    connect(border, &QVariantAnimation::valueChanged, this, [this, path, border](const QVariant& value) {
        auto found = running_.find(path);
        if (found == running_.end() || found->second.border != border) return;
        found->second.borderValue = value.toDouble();
        repaint_(path);
    });
    connect(border, &QAbstractAnimation::finished, this, [this, path, border] {
        auto found = running_.find(path);
        if (found != running_.end() && found->second.border == border) found->second.border = nullptr;
        finishIfStill(path);
    });
    border->start(QAbstractAnimation::DeleteWhenStopped);
    pulse(path, selecting, selected);
}

void CardMotion::pulse(const std::string& path, bool selecting, bool selected)
{
    if (DesktopLook::shared().reduceMotion()) {
        forget(path);
        repaint_(path);
        return;
    }
    Running& running = running_[path];
    if (!running.pulse && !running.border) running.now = rest(selecting, selected, false);
    if (running.pulse) running.pulse->stop();
    running.from = running.now;
    running.press = {0, selecting ? 0.96 : 0.99, selecting ? -1.0 : 0.0};
    running.to = rest(selecting, selected, false);
    const double settleMs = kSettle.settlingSeconds() * 1000;
    auto* pulse = new QVariantAnimation(this);
    pulse->setDuration(int(kPressMs + settleMs));
    pulse->setStartValue(0.0);
    pulse->setEndValue(kPressMs + settleMs);
    running.pulse = pulse;
    connect(pulse, &QVariantAnimation::valueChanged, this, [this, path, pulse](const QVariant& value) {
        auto found = running_.find(path);
        if (found == running_.end() || found->second.pulse != pulse) return;
        Running& card = found->second;
        const double ms = value.toDouble();
        // Pressed in with an ease-out, then a spring to rest.
        card.now = ms < kPressMs
                       ? mix(card.from, card.press, QEasingCurve(QEasingCurve::OutQuad).valueForProgress(ms / kPressMs))
                       : mix(card.press, card.to, kSettle.progress((ms - kPressMs) / 1000));
        repaint_(path);
    });
    connect(pulse, &QAbstractAnimation::finished, this, [this, path, pulse] {
        auto found = running_.find(path);
        if (found != running_.end() && found->second.pulse == pulse) {
            found->second.pulse = nullptr;
            found->second.now = found->second.to;
        }
        finishIfStill(path);
    });
    pulse->start(QAbstractAnimation::DeleteWhenStopped);
}

void CardMotion::finishIfStill(const std::string& path)
{
    auto found = running_.find(path);
    if (found == running_.end() || found->second.border || found->second.pulse) return;
    running_.erase(found);
    repaint_(path);
}

void CardMotion::forget(const std::string& path)
{
    auto found = running_.find(path);
    if (found == running_.end()) return;
    // Stopping deletes them; their handlers see the card gone.
    QVariantAnimation* border = found->second.border;
    QVariantAnimation* pulse = found->second.pulse;
    running_.erase(found);
    if (border) border->stop();
    if (pulse) pulse->stop();
}

} // namespace mirelo
