#pragma once
// The empty library's welcome: three tilted photo cards, the headline, what
// Mirelo does, "Open images" and "Scan a folder", the drop hint and three
// features.

#include <QWidget>

namespace mirelo {

class AppModel;

class WelcomeView : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeView(AppModel& model, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppModel& model_;
    QWidget* illustration_;
};

} // namespace mirelo
