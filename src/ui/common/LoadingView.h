#pragma once
// The calm spinner with two lines of text shown over the grid while its
// content is replaced: a faint track, an arc turning once a second (still
// under reduced motion) and a picture symbol in the middle.

#include <QVariantAnimation>
#include <QWidget>

namespace mirelo {

class LoadingView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSpinner = 52;

    explicit LoadingView(QWidget* parent = nullptr);

    void setReduceMotion(bool reduce);
    bool rotating() const { return turning_.state() == QAbstractAnimation::Running; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void follow();

    QVariantAnimation turning_;
    bool reduceMotion_ = false;
};

} // namespace mirelo
