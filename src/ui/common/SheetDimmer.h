#pragma once
// The window under a sheet, dimmed while the sheet is open, so that the
// sheet stands apart from what it covers.

#include <QPointer>
#include <QWidget>

namespace mirelo {

class SheetDimmer : public QWidget {
    Q_OBJECT
public:
    // Dims `window` until `sheet` closes or goes.
    static void cover(QWidget* window, QWidget* sheet);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SheetDimmer(QWidget* window, QWidget* sheet);
    QPointer<QWidget> sheet_;
};

} // namespace mirelo
