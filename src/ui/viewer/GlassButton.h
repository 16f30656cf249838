#pragma once
// The viewer's round translucent buttons: a dark symbol on white at 0.82
// (opaque under the pointer), a fine white edge and a soft shadow.

#include <QAbstractButton>

namespace mirelo {

class GlassButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kDiameter = 46, kSymbol = 18;

    // `help` is the tooltip and the accessibility label.
    GlassButton(const QString& symbol, const QString& help, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kDiameter + 8, kDiameter + 8}; }
    bool hovered() const { return hovered_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString symbol_;
    bool hovered_ = false;
};

} // namespace mirelo
