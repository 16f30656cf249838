#pragma once
// Over the whole window while files are dragged over it: a dashed, tinted
// rounded frame with "Drop images or folders".

#include <QWidget>

namespace mirelo {

class DropOverlay : public QWidget {
    Q_OBJECT
public:
    explicit DropOverlay(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace mirelo
