#pragma once
// The capsule at the bottom of the window with the model's notice, Undo
// while there is something to undo, and a close button. It rises in with a
// fade and leaves the same way (0.2 s), at once under reduced motion.

#include <QPointer>
#include <QWidget>

class QLabel;
class QGraphicsOpacityEffect;
class QParallelAnimationGroup;
class QToolButton;

namespace mirelo {

class AppModel;
class CapsuleButton;

class ToastView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAnimationMs = 200, kSideMargin = 32, kBottomMargin = 24;

    explicit ToastView(AppModel& model, QWidget* parent);

    QString text() const;
    CapsuleButton* undoButton() const { return undo_; }
    QToolButton* closeButton() const { return close_; }
    // Where it rests in its parent.
    QRect restingGeometry() const;
    void place();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void animate(bool in);

    AppModel& model_;
    QLabel* icon_;
    QLabel* text_;
    CapsuleButton* undo_;
    QToolButton* close_;
    QGraphicsOpacityEffect* opacity_;
    QPointer<QParallelAnimationGroup> motion_;
    bool shown_ = false;
};

} // namespace mirelo
