#pragma once
// The product's mark: the "Mirelo" picture from the application's resources,
// stretched to a square and clipped to a rounded square (corner radius 0.24
// of the edge). Without the resource it is an empty space of the same size.
// Hidden from accessibility.

#include <QWidget>

namespace mirelo {

class TesselMark : public QWidget {
    Q_OBJECT
public:
    explicit TesselMark(int size, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace mirelo
