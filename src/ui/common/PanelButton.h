#pragma once
// A panel's full-width button: a symbol and a title on a softly tinted
// rounded rectangle (darker while pressed), 36 points tall.

#include <QAbstractButton>

#include <functional>

namespace mirelo {

class PanelButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kHeight = 36, kInset = 12;

    PanelButton(const QString& title, const QString& symbol, std::function<void()> invoke, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {200, kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
};

} // namespace mirelo
